#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <span>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "jet/crypto/Rc4.h"

// The real Access files of ../shared/corpus (through QUORVANE_CORPUS) and scratch copies of them.
namespace Jet::Testing {

// The corpus folder, or an empty path when the tests run without it.
inline std::filesystem::path CorpusDir() {
  const char* folder = std::getenv("QUORVANE_CORPUS");
  if (folder == nullptr || !std::filesystem::is_directory(folder)) return {};
  return folder;
}

#define QUORVANE_REQUIRE_CORPUS()                                     \
  if (::Jet::Testing::CorpusDir().empty()) GTEST_SKIP() << "no corpus"

// The second corpus: files with deeper indexes, other sort orders and encryption. The folder
// QUORVANE_CORPUS_NEXT names, else "corpus-next" beside the corpus folder; an empty path when the
// tests run without it.
inline std::filesystem::path CorpusNextDir() {
  const char* named = std::getenv("QUORVANE_CORPUS_NEXT");
  std::filesystem::path folder;
  if (named != nullptr)
    folder = named;
  else if (!CorpusDir().empty())
    folder = CorpusDir().parent_path() / "corpus-next";
  if (folder.empty() || !std::filesystem::is_directory(folder)) return {};
  return folder;
}

// Every Access file under `folder` (none for an empty path), skipping the subfolders named.
inline std::vector<std::filesystem::path> AccessFilesIn(const std::filesystem::path& folder,
                                                        const std::vector<std::string>& skipped = {}) {
  std::vector<std::filesystem::path> files;
  if (folder.empty()) return files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    const auto extension = entry.path().extension();
    const auto parent = entry.path().parent_path().filename().string();
    if (std::find(skipped.begin(), skipped.end(), parent) != skipped.end()) continue;
    if (extension == ".mdb" || extension == ".accdb") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

// Every Access file of the corpus.
inline std::vector<std::filesystem::path> CorpusFiles() { return AccessFilesIn(CorpusDir()); }

// Every file of both corpora outside the encrypted folder (whose .accdb files need a password and
// which mdbtools cannot read): the corpus and the rest of the second corpus.
inline std::vector<std::filesystem::path> PlainCorpusFiles() {
  auto files = CorpusFiles();
  for (auto& file : AccessFilesIn(CorpusNextDir(), {"encrypted"})) files.push_back(std::move(file));
  return files;
}

// Every file of both corpora, the encrypted ones included (each opens with CorpusPassword).
inline std::vector<std::filesystem::path> AllCorpusFiles() {
  auto files = CorpusFiles();
  for (auto& file : AccessFilesIn(CorpusNextDir())) files.push_back(std::move(file));
  return files;
}

// The password a corpus file opens with: "Test123" for the encrypted .accdb files of the second
// corpus, none for the others.
inline std::u16string CorpusPassword(const std::filesystem::path& file) {
  const bool encrypted = file.parent_path().filename() == "encrypted" && file.extension() == ".accdb";
  return encrypted ? u"Test123" : u"";
}

inline std::vector<uint8_t> ReadBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// A folder of its own for one test, emptied first.
inline std::filesystem::path ScratchDir() {
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  const auto folder = std::filesystem::temp_directory_path() /
                      ("quorvane_jet_" + std::string(test->test_suite_name()) + "_" + test->name());
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  return folder;
}

inline std::filesystem::path WriteBytes(const std::filesystem::path& file, const std::vector<uint8_t>& bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return file;
}

// Applies (or removes) the RC4 mask of the header page's masked area.
inline void ToggleHeaderMask(std::vector<uint8_t>& file, bool jet3) {
  static constexpr uint8_t kMaskKey[] = {0xC7, 0xDA, 0x39, 0x6B};
  Rc4(kMaskKey).Apply(std::span(file).subspan(0x18, jet3 ? 126 : 128));
}

}  // namespace Jet::Testing
