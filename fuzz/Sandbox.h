#pragma once
// A folder for the targets that write files: a working folder the input is expanded
// into, beside an "outside" folder of decoy files that nothing may touch. Links to the
// decoys are planted in the working folder under names an input may store, so that a
// write through a link, or one that leaves the working folder, changes a decoy or the
// sandbox's own listing, and the target aborts.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz/FuzzSupport.h"

namespace lumavex::fuzz {

class Sandbox {
 public:
  // `linkNames`: names in the working folder that are links to decoys before each input.
  explicit Sandbox(std::vector<std::string> linkNames) : linkNames_(std::move(linkNames)) {
    root_ = ScratchFolder("lumavex-sandbox");
    std::filesystem::create_directories(Outside());
    for (size_t i = 0; i < linkNames_.size(); ++i) WriteText(Decoy(i), DecoyText(i));
  }
  ~Sandbox() { std::filesystem::remove_all(root_); }

  std::filesystem::path Work() const { return root_ / "work"; }

  // Empties the working folder, plants the links and puts the input there as `name`.
  std::filesystem::path Prepare(const uint8_t* data, size_t size, const std::string& name) {
    std::filesystem::remove_all(Work());
    std::filesystem::create_directories(Work());
    for (size_t i = 0; i < linkNames_.size(); ++i)
      std::filesystem::create_symlink(Decoy(i), Work() / linkNames_[i]);
    const std::filesystem::path input = Work() / name;
    std::ofstream(input, std::ios::binary).write(reinterpret_cast<const char*>(data), size);
    return input;
  }

  // Aborts unless the sandbox holds the working folder and the untouched decoys only,
  // and every entry of the working folder is a link still planted, the input, or a
  // regular file whose name `allowed` accepts.
  void Check(const std::string& inputName,
             const std::function<bool(const std::string&)>& allowed) const {
    Expect(Names(root_) == std::vector<std::string>{"outside", "work"}, "sandbox listing");
    std::vector<std::string> decoys;
    for (size_t i = 0; i < linkNames_.size(); ++i) {
      decoys.push_back(Decoy(i).filename());
      Expect(ReadText(Decoy(i)) == DecoyText(i), "a decoy was written through");
    }
    std::sort(decoys.begin(), decoys.end());
    Expect(Names(Outside()) == decoys, "outside listing");
    for (const auto& entry : std::filesystem::directory_iterator(Work())) {
      const std::string name = entry.path().filename();
      const bool planted =
          std::find(linkNames_.begin(), linkNames_.end(), name) != linkNames_.end();
      if (entry.is_symlink()) {
        Expect(planted, "a link that was not planted");
        continue;
      }
      Expect(entry.is_regular_file(), "something other than a file in the working folder");
      Expect(name == inputName || allowed(name), ("a file of a refused name: " + name).c_str());
    }
  }

 private:
  std::filesystem::path Outside() const { return root_ / "outside"; }
  std::filesystem::path Decoy(size_t i) const {
    return Outside() / ("decoy" + std::to_string(i) + ".bmp");
  }
  static std::string DecoyText(size_t i) { return "decoy " + std::to_string(i); }

  static void Expect(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "sandbox broken: %s\n", what);
    std::abort();
  }
  static std::vector<std::string> Names(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
      names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }
  static void WriteText(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
  }
  static std::string ReadText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  std::filesystem::path root_;
  std::vector<std::string> linkNames_;
};

}  // namespace lumavex::fuzz
