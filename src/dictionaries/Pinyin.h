#pragma once

#include <string>
#include <string_view>

namespace quorvex::dictionaries {

// Numbered pinyin as dictionaries write it ("ni3 hao3", "lu:4") with tone marks ("nǐ hǎo",
// "lǜ"). Tone 5 (neutral) and syllables without a vowel stay unmarked; what is not a numbered
// syllable stays as it is.
std::string PinyinWithToneMarks(std::string_view numbered);

} // namespace quorvex::dictionaries
