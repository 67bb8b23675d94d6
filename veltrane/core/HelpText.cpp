#include "veltrane/core/HelpText.h"

namespace veltrane {

const std::string& HelpText() {
  static const std::string kText =
      "★圧縮方法\n"
      "「カレントフォルダの全 *.bmp *.lmv を *.VTZ に圧縮」は、フォルダ内の古い *.VTZ を"
      "ゴミ箱に移動してから、同じ大きさの連続した絵を 1 つの *.VTZ にまとめて圧縮します。\n"
      "「カレントフォルダの全 *.VTZ *.wav を *.zip に圧縮」は、フォルダ内の古い *.zip を"
      "ゴミ箱に移動してから、*.VTZ と *.wav を 1 ファイルずつ *.zip に圧縮します。"
      "Compress.ini にバックアップフォルダを設定してあると、バックアップと同じ *.zip は"
      "ゴミ箱に移動し、バックアップと違う *.zip だけを残します。\n"
      "\n"
      "★展開方法\n"
      "「カレントフォルダの全 *.zip を展開」と「カレントフォルダの全 *.VTZ を *.bmp *.lmv に展開」"
      "は、同じ名前のファイルがあれば確認せずに上書きします。\n"
      "\n"
      "★インストール方法\n"
      "処理するフォルダに Compress.ini を置き、そのフォルダを作業フォルダとして Veltrane を"
      "起動します。zip の圧縮と展開は Veltrane "
      "に組み込まれているので、ほかのファイルは要りません。\n"
      "バックアップフォルダは Compress.ini に次のように設定します（無ければ空の Compress.ini）。\n"
      "BackupPath=/home/user/ZipBackup\n";
  return kText;
}

}  // namespace veltrane
