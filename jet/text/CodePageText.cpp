#include "jet/text/CodePageText.h"

#include <bit>
#include <map>
#include <mutex>
#include <string>

#include "common/Text.h"
#include "jet/base/Failure.h"
#include "jet/text/IconvConverter.h"

namespace Jet {

// A code page's iconv conversions, both ways.
struct CodePageConverters {
  std::unique_ptr<IconvConverter> decoder;  // code page to UTF-16
  std::unique_ptr<IconvConverter> encoder;  // UTF-16 to code page
};

namespace {

// The code page that text of an unknown code page is read in.
constexpr uint16_t kFallbackCodePage = 1252;

// UTF-16 in the order a char16_t holds it.
const char* const kUtf16 = std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";

// The converters of a code page, opened on first use and kept for the life of the process; null
// when iconv does not know the code page.
std::shared_ptr<const CodePageConverters> ConvertersOf(uint16_t codePage) {
  static std::mutex lock;
  static std::map<uint16_t, std::shared_ptr<const CodePageConverters>> opened;
  const std::lock_guard<std::mutex> hold(lock);
  if (const auto found = opened.find(codePage); found != opened.end()) return found->second;
  const std::string name = "CP" + std::to_string(codePage);
  auto converters = std::make_shared<CodePageConverters>();
  converters->decoder = IconvConverter::Open(kUtf16, name.c_str());
  converters->encoder = IconvConverter::Open(name.c_str(), kUtf16);
  if (!converters->decoder || !converters->encoder) converters.reset();
  opened.emplace(codePage, converters);
  return converters;
}

ByteSpan BytesOf(std::u16string_view text) {
  return ByteSpan(reinterpret_cast<const uint8_t*>(text.data()), text.size() * sizeof(char16_t));
}

// One byte per character through a single-byte table; false at a character it lacks.
bool EncodeThroughTable(std::u16string_view text, const UpperHalf& table, std::vector<uint8_t>& out) {
  out.clear();
  out.reserve(text.size());
  for (const char16_t c : text) {
    if (c < 0x80) {
      out.push_back(static_cast<uint8_t>(c));
      continue;
    }
    size_t found = 0;
    while (found < table.size() && table[found] != c) ++found;
    if (found == table.size()) return false;
    out.push_back(static_cast<uint8_t>(0x80 + found));
  }
  return true;
}

// The length of the character starting at `at`: two units for a surrogate pair.
size_t CharacterLength(std::u16string_view text, size_t at) {
  const bool pair = at + 1 < text.size() && (text[at] & 0xFC00) == 0xD800 && (text[at + 1] & 0xFC00) == 0xDC00;
  return pair ? 2 : 1;
}

}  // namespace

CodePageText::CodePageText(uint16_t codePage) : codePage_(codePage), table_(FindCodePage(codePage)) {
  if (table_ == nullptr) converters_ = ConvertersOf(codePage);
}

void CodePageText::Append(ByteSpan bytes, std::u16string& out) const { (void)AppendChecked(bytes, out); }

bool CodePageText::AppendChecked(ByteSpan bytes, std::u16string& out) const {
  if (converters_ == nullptr) {
    const UpperHalf& table = table_ != nullptr ? *table_ : *FindCodePage(kFallbackCodePage);
    out.reserve(out.size() + bytes.size());
    for (const uint8_t byte : bytes)
      out.push_back(byte < 0x80 ? static_cast<char16_t>(byte) : table[byte - 0x80]);
    return true;
  }
  bool defined = true;
  size_t at = 0;
  while (at < bytes.size()) {
    const IconvConverter::Outcome outcome = converters_->decoder->Convert(bytes.subspan(at), out);
    at += outcome.read;
    if (outcome.stop == IconvConverter::Stop::kEnd) break;
    out.push_back(u'\uFFFD');
    defined = false;
    // A lead byte at the end has nothing after it; a bad sequence is passed by its first byte.
    at = outcome.stop == IconvConverter::Stop::kIncomplete ? bytes.size() : at + 1;
  }
  return defined;
}

bool CodePageText::EncodeChecked(std::u16string_view text, std::vector<uint8_t>& out) const {
  if (table_ != nullptr) return EncodeThroughTable(text, *table_, out);
  out.clear();
  if (converters_ == nullptr) return false;
  if (converters_->encoder->Convert(BytesOf(text), out).stop != IconvConverter::Stop::kEnd) return false;
  // iconv stores some characters as others (a best fit); only what reads back as given is kept.
  std::u16string back;
  return AppendChecked(out, back) && back == text;
}

std::vector<uint8_t> CodePageText::Encode(std::u16string_view text) const {
  if (!Writable()) ThrowInternalFault("text was to be written in a code page this system cannot convert");
  std::vector<uint8_t> out;
  if (!EncodeChecked(text, out)) ThrowUnstorable(text);
  return out;
}

void CodePageText::ThrowUnstorable(std::u16string_view text) const {
  std::u16string_view culprit = text;
  std::vector<uint8_t> scratch;
  for (size_t at = 0; at < text.size();) {
    const size_t length = CharacterLength(text, at);
    if (!EncodeChecked(text.substr(at, length), scratch)) {
      culprit = text.substr(at, length);
      break;
    }
    at += length;
  }
  ThrowTypeMismatch(u"The character '" + std::u16string(culprit) +
                        u"' cannot be stored in this database, whose text is in code page " +
                        Main::FromUtf8(std::to_string(codePage_)) + u".",
                    Main::ErrorCause::kRecordValue);
}

bool CodePageText::RoundTrips(ByteSpan stored) const {
  std::u16string text;
  std::vector<uint8_t> again;
  return AppendChecked(stored, text) && EncodeChecked(text, again) &&
         std::equal(again.begin(), again.end(), stored.begin(), stored.end());
}

}  // namespace Jet
