// Shared helpers of the engine tests: a temporary store folder and fake caller objects.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "template/tmpeng.h"

namespace enginetest {

namespace fs = std::filesystem;

// A fresh folder under the system's temporary folder, removed again afterwards.
class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (fs::temp_directory_path() / "quorpad-engine-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
  }
  ~TempFolder() {
    std::error_code ec;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path_, ec);
  }
  const fs::path& path() const { return path_; }
  fs::path store() const { return path_ / "templates.dat"; }

  void Write(const std::string& bytes) const {
    std::ofstream out(store(), std::ios::binary | std::ios::trunc);
    out << bytes;
  }
  std::string Read() const {
    std::ifstream in(store(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

 private:
  fs::path path_;
};

// A tree view that keeps its nodes in a vector and, like a real one, can refuse keys.
class FakeTree : public templates::TreeView {
 public:
  std::vector<std::pair<std::u16string, std::u16string>> nodes;  // key, text
  int clears = 0;
  bool unique_keys = false;  // refuse a key the tree already holds

  void Clear() override {
    ++clears;
    nodes.clear();
  }
  void Add(const std::u16string& key, const std::u16string& text) override {
    if (unique_keys) {
      for (const auto& node : nodes) {
        if (node.first == key) throw std::invalid_argument("key is not unique");
      }
    }
    nodes.emplace_back(key, text);
  }
  int Count() const override { return static_cast<int>(nodes.size()); }
  std::u16string Text(int i) const override { return nodes.at(static_cast<size_t>(i - 1)).second; }
  std::u16string Key(int i) const override { return nodes.at(static_cast<size_t>(i - 1)).first; }
};

// Thirteen menu slots that start as the menu's design leaves them.
class FakeSlots : public templates::MenuSlots {
 public:
  std::vector<std::u16string> captions = std::vector<std::u16string>(13, u"Not Set");
  std::vector<std::u16string> tags = std::vector<std::u16string>(13);

  void SetCaption(int n, const std::u16string& caption) override { At(captions, n) = caption; }
  void SetTag(int n, const std::u16string& tag) override { At(tags, n) = tag; }

 private:
  static std::u16string& At(std::vector<std::u16string>& v, int n) {
    if (n < 1 || n > static_cast<int>(v.size())) throw std::out_of_range("no such menu item");
    return v[static_cast<size_t>(n - 1)];
  }
};

// An object that supports nothing the engine asks for.
class PlainObject : public templates::Object {};

}  // namespace enginetest
