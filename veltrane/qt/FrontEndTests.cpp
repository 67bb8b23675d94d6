// The tool behind its window: the core's menu, surface and messages as the user
// meets them, in a temporary working folder.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <memory>

#include "platform/qt/MenuMirror.h"
#include "platform/qt/SurfaceWidget.h"
#include "veltrane/core/CommandIds.h"
#include "veltrane/core/HelpText.h"
#include "veltrane/core/VeltraneApp.h"
#include "veltrane/qt/FrontEnd.h"
#include "veltrane/qt/VeltraneHost.h"
#include "veltrane/qt/VeltraneWindow.h"

namespace veltrane::qt {
namespace {

struct Ended {
  int exitCode;
};

struct Shown {
  std::string text;
  std::string caption;
};

// Lets a test look at the window right after the core presented a rectangle.
class ProbeHost : public VeltraneHost {
 public:
  std::function<void(const platform::Rect&)> afterPresent;

  void Present(const platform::Surface& surface, const platform::Rect& area) override {
    VeltraneHost::Present(surface, area);
    if (afterPresent) afterPresent(area);
  }
};

class VeltraneFrontEndTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(work.isValid());
    host.SetMessagePresenter([this](const std::string& text, const std::string& caption,
                                    platform::MessageButtons, platform::MessageIcon) {
      messages.push_back({text, caption});
      return platform::MessageResult::Ok;
    });
    host.SetProcessEnder([](int code) { throw Ended{code}; });
  }

  void Put(const QString& name, const QByteArray& bytes) {
    QFile file(work.filePath(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }

  // Opens the window on a folder holding "Compress.ini".
  void Open() {
    Put("Compress.ini", "BackupPath=\r\n");
    OpenWithoutIni();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  }
  void OpenWithoutIni() {
    app = std::make_unique<VeltraneApp>(host, VeltraneConfig{work.path().toStdString()});
    OpenMainWindow(window, host, *app);
  }

  // What the client area shows at (x, y), as 0xRRGGBB.
  uint32_t ShownAt(int x, int y) const {
    return window.Client().grab(QRect(x, y, 1, 1)).toImage().pixel(0, 0) & 0xFFFFFF;
  }

  void Choose(int commandId) {
    QAction* action = window.Menu().Action(commandId);
    ASSERT_NE(action, nullptr);
    action->trigger();
  }

  QTemporaryDir work;
  ProbeHost host;
  VeltraneWindow window;
  std::unique_ptr<VeltraneApp> app;
  std::vector<Shown> messages;
};

TEST_F(VeltraneFrontEndTest, OpenedWindowShowsTheCoresSurfaceAndMenu) {
  Open();
  EXPECT_EQ(window.Client().CurrentSurface(), &app->Surface());
  EXPECT_EQ(app->Surface().Width(), window.Client().width());
  EXPECT_EQ(app->Surface().Height(), window.Client().height());
  EXPECT_EQ(ShownAt(799, window.Client().height() - 1), kWindowColour);
  const QList<QAction*> popups = window.MenuBarWidget().actions();
  ASSERT_EQ(popups.size(), 1);
  EXPECT_EQ(popups[0]->text(), QStringLiteral("コマンド"));
  QStringList captions;
  for (QAction* item : popups[0]->menu()->actions()) captions << item->text();
  EXPECT_EQ(captions,
            (QStringList{QStringLiteral("カレントフォルダの全 *.bmp *.lmv を *.VTZ に圧縮"),
                         QStringLiteral("カレントフォルダの全 *.VTZ *.wav を *.zip に圧縮"),
                         QStringLiteral("カレントフォルダの全 *.zip を展開"),
                         QStringLiteral("カレントフォルダの全 *.VTZ を *.bmp *.lmv に展開"),
                         QStringLiteral("ヘルプ"), QStringLiteral("終了")}));
  EXPECT_EQ(window.Menu().Action(cmd::kHelp), popups[0]->menu()->actions()[4]);
}

TEST_F(VeltraneFrontEndTest, HelpCommandShowsTheHelpBox) {
  Open();
  Choose(cmd::kHelp);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].caption, "ヘルプ");
  EXPECT_EQ(messages[0].text, HelpText());
}

TEST_F(VeltraneFrontEndTest, ProgressIsShownWhileTheCommandRuns) {
  // Two same-size pictures: before the second one the left half of the strip turns
  // white, and the window shows it while the command is still running.
  Put("0000.bmp", QByteArray(64, 'a'));
  Put("0001.bmp", QByteArray(64, 'b'));
  Open();
  std::vector<std::pair<uint32_t, uint32_t>> stripShown;  // left half, right half
  host.afterPresent = [&](const platform::Rect& area) {
    if (area.top == 0 && area.bottom == 8) stripShown.emplace_back(ShownAt(10, 3), ShownAt(790, 3));
  };
  Choose(cmd::kCompressPictures);
  host.afterPresent = nullptr;
  ASSERT_FALSE(stripShown.empty());
  const std::pair<uint32_t, uint32_t> halfDone{0xFFFFFF, 0x000000};
  EXPECT_NE(std::find(stripShown.begin(), stripShown.end(), halfDone), stripShown.end());
  EXPECT_EQ(stripShown.back(), (std::pair<uint32_t, uint32_t>{0, 0}));
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].caption, "圧縮完了");
  EXPECT_TRUE(QFile::exists(work.filePath("0001.bmp.VTZ")));
}

TEST_F(VeltraneFrontEndTest, ResizeGivesTheCoreANewSurfaceAndItIsShown) {
  Open();
  window.resize(600, 160);
  ASSERT_TRUE(QTest::qWaitFor([&] { return app->Surface().Width() == 600; }, 2000));
  EXPECT_EQ(app->Surface().Height(), window.Client().height());
  EXPECT_EQ(ShownAt(599, window.Client().height() - 1), kWindowColour);
}

TEST_F(VeltraneFrontEndTest, QuitCommandEndsTheLoopWithOne) {
  Open();
  QTimer::singleShot(0, [this] { Choose(cmd::kQuit); });
  QTimer::singleShot(5000, [] { QCoreApplication::exit(-99); });
  EXPECT_EQ(RunMessageLoop(window, host), 1);
  // The loop is over: the window no longer feeds the core.
  window.resize(500, 150);
  QTest::qWait(20);
  EXPECT_EQ(app->Surface().Width(), 800);
}

TEST_F(VeltraneFrontEndTest, WithoutCompressIniTheToolReportsAndEndsBeforeServingTheMenu) {
  try {
    OpenWithoutIni();
    FAIL() << "the tool did not end";
  } catch (const Ended& ended) {
    EXPECT_EQ(ended.exitCode, 0);
  }
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text.substr(0, messages[0].text.find('\n')),
            "ファイルオープン不可: Compress.ini");
  EXPECT_EQ(messages[0].caption, "エラー");
}

}  // namespace
}  // namespace veltrane::qt
