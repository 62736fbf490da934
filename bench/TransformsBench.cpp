// Times a few of the text transforms on values of a million characters.
#include <benchmark/benchmark.h>

#include <cstddef>
#include <string>

#include "engine/transforms/Fundamental.h"

namespace {

constexpr std::size_t kLength = 1'000'000;

// Text that looks like field contents: words, digits, punctuation, runs of spaces, line breaks.
std::u16string MixedText() {
  static const std::u16string pattern = u"Caf\u00e9  42, Stra\u00dfe\t  7;\r\nkey=value   ";
  std::u16string text;
  text.reserve(kLength);
  while (text.size() < kLength) text += pattern;
  text.resize(kLength);
  return text;
}

// Runs `transform` on a fixed value and reports the characters it went through per second.
template <typename Transform>
void Run(benchmark::State& state, const std::u16string& value, Transform transform) {
  for (auto _ : state) benchmark::DoNotOptimize(transform(value));
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * value.size()));
}

void RemoveExtraSpacesMixed(benchmark::State& state) {
  Run(state, MixedText(), [](const auto& v) { return Fundamental::RemoveExtraSpaces(v); });
}

void RemoveExtraSpacesAllSpaces(benchmark::State& state) {
  Run(state, std::u16string(kLength, u' '),
      [](const auto& v) { return Fundamental::RemoveExtraSpaces(v); });
}

void RemoveLeadingSpacesAllSpaces(benchmark::State& state) {
  Run(state, std::u16string(kLength, u' '),
      [](const auto& v) { return Fundamental::RemoveLeadingSpaces(v); });
}

void ReplaceNonAlphanumericMixed(benchmark::State& state) {
  Run(state, MixedText(),
      [](const auto& v) { return Fundamental::ReplaceNonAlphanumeric(v, u"_"); });
}

void RemoveAlphabetMixed(benchmark::State& state) {
  Run(state, MixedText(), [](const auto& v) { return Fundamental::RemoveAlphabet(v); });
}

void ReplaceEntersMixed(benchmark::State& state) {
  Run(state, MixedText(), [](const auto& v) { return Fundamental::ReplaceEnters(v, u" / "); });
}

void ReplaceUserDefinedMixed(benchmark::State& state) {
  Run(state, MixedText(),
      [](const auto& v) { return Fundamental::ReplaceUserDefined(v, u"value", u"VALUE"); });
}

// A find text that almost matches everywhere: a naive search would compare it at every position.
void ReplaceUserDefinedNearMisses(benchmark::State& state) {
  const std::u16string find = std::u16string(1000, u'a') + u"b";
  Run(state, std::u16string(kLength, u'a'),
      [&find](const auto& v) { return Fundamental::ReplaceUserDefined(v, find, u"x"); });
}

void RemoveTextAfterMarkerAtEnd(benchmark::State& state) {
  Run(state, MixedText() + u"#END#",
      [](const auto& v) { return Fundamental::RemoveTextAfter(v, u"#END#"); });
}

BENCHMARK(RemoveExtraSpacesMixed)->Unit(benchmark::kMillisecond);
BENCHMARK(RemoveExtraSpacesAllSpaces)->Unit(benchmark::kMillisecond);
BENCHMARK(RemoveLeadingSpacesAllSpaces)->Unit(benchmark::kMillisecond);
BENCHMARK(ReplaceNonAlphanumericMixed)->Unit(benchmark::kMillisecond);
BENCHMARK(RemoveAlphabetMixed)->Unit(benchmark::kMillisecond);
BENCHMARK(ReplaceEntersMixed)->Unit(benchmark::kMillisecond);
BENCHMARK(ReplaceUserDefinedMixed)->Unit(benchmark::kMillisecond);
BENCHMARK(ReplaceUserDefinedNearMisses)->Unit(benchmark::kMillisecond);
BENCHMARK(RemoveTextAfterMarkerAtEnd)->Unit(benchmark::kMillisecond);

}  // namespace
