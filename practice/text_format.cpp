// Our own formatting of speeds, scores and dates: the C libraries of the two builds
// round and spell these differently, and a garbled score must not overflow a field.
#include "practice/text_format.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace tolvi {
namespace {

constexpr char kMonthNames[] = "JanFebMarAprMayJunJulAugSepOctNovDec";

std::string DecimalOf(std::uint64_t n) {
  std::string digits;
  do {
    digits.insert(digits.begin(), static_cast<char>('0' + n % 10));
    n /= 10;
  } while (n != 0);
  return digits;
}

// m * 2^e for e >= 0 in decimal, on base-1e9 limbs (the value may have 309 digits).
std::string DecimalOfScaled(std::uint64_t m, int e) {
  constexpr std::uint32_t kBase = 1000000000u;
  std::vector<std::uint32_t> limbs;  // least significant first
  for (std::uint64_t rest = m; rest != 0; rest /= kBase) limbs.push_back(static_cast<std::uint32_t>(rest % kBase));
  if (limbs.empty()) return "0";
  while (e > 0) {
    const int step = e < 29 ? e : 29;
    std::uint64_t carry = 0;
    for (std::uint32_t& limb : limbs) {
      const std::uint64_t v = (static_cast<std::uint64_t>(limb) << step) + carry;
      limb = static_cast<std::uint32_t>(v % kBase);
      carry = v / kBase;
    }
    while (carry != 0) {
      limbs.push_back(static_cast<std::uint32_t>(carry % kBase));
      carry /= kBase;
    }
    e -= step;
  }
  std::string digits = DecimalOf(limbs.back());
  for (std::size_t i = limbs.size() - 1; i-- > 0;) {
    const std::string part = DecimalOf(limbs[i]);
    digits.append(9 - part.size(), '0');
    digits += part;
  }
  return digits;
}

// |value| with two decimals, the exact binary value rounded half up.
std::string Fixed2Magnitude(std::uint64_t bits) {
  const int biased = static_cast<int>((bits >> 52) & 0x7FF);
  const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
  if (biased == 0x7FF) return fraction != 0 ? "nan" : "inf";
  const std::uint64_t m = biased == 0 ? fraction : fraction | (std::uint64_t{1} << 52);
  const int e = biased == 0 ? -1074 : biased - 1075;
  if (e >= 0) return DecimalOfScaled(m, e) + ".00";

  // value * 100 = m * 100 / 2^shift, and m * 100 < 2^60; past a shift of 62 it is below 1/2.
  const int shift = -e;
  std::uint64_t hundredths = 0;
  if (shift <= 62) {
    const std::uint64_t scaled = m * 100;
    hundredths = scaled >> shift;
    const std::uint64_t rest = scaled & ((std::uint64_t{1} << shift) - 1);
    if (rest >= (std::uint64_t{1} << (shift - 1))) ++hundredths;
  }
  std::string text = DecimalOf(hundredths / 100);
  text += '.';
  text += static_cast<char>('0' + hundredths % 100 / 10);
  text += static_cast<char>('0' + hundredths % 10);
  return text;
}

}  // namespace

std::string_view FieldText(const char* field, std::size_t size) {
  const void* end = std::memchr(field, '\0', size);
  return {field, end ? static_cast<std::size_t>(static_cast<const char*>(end) - field) : size};
}

std::size_t AppendText(char* out, std::size_t capacity, std::size_t length,
                       std::string_view text) {
  if (capacity == 0) return 0;
  if (length > capacity - 1) length = capacity - 1;
  const std::size_t room = capacity - 1 - length;
  const std::size_t n = text.size() < room ? text.size() : room;
  std::memcpy(out + length, text.data(), n);
  length += n;
  out[length] = '\0';
  return length;
}

std::size_t AppendFixed2(char* out, std::size_t capacity, std::size_t length, double value,
                         int min_width) {
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  std::string text = Fixed2Magnitude(bits);
  if (bits >> 63 && text != "nan") text.insert(text.begin(), '-');
  if (min_width > 0 && text.size() < static_cast<std::size_t>(min_width)) {
    text.insert(0, static_cast<std::size_t>(min_width) - text.size(), ' ');
  }
  return AppendText(out, capacity, length, text);
}

void FormatSpeedText(double speed, char* out, std::size_t capacity) {
  const std::size_t length = AppendFixed2(out, capacity, 0, speed, 0);
  AppendText(out, capacity, length, " char/60s");
}

void FormatDateText(const std::tm& local, char* out) {
  const int month = local.tm_mon >= 0 && local.tm_mon < 12 ? local.tm_mon : 0;
  char text[64];
  std::snprintf(text, sizeof text, "%.3s %02d %02d:%02d:%02d %lld", kMonthNames + 3 * month,
                local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
                static_cast<long long>(local.tm_year) + 1900);
  AppendText(out, kDateTextChars + 1, 0, text);
}

void LocalDateText(std::time_t when, char* out) {
  if (const std::tm* local = std::localtime(&when)) {
    FormatDateText(*local, out);
  } else {
    std::snprintf(out, kDateTextChars + 1, "-----");
  }
}

}  // namespace tolvi
