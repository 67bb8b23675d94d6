#include "lumavex/files/UndoFormat.h"

#include <cstdio>

namespace lumavex {

namespace {

void Put32(uint8_t* out, int32_t value) {
  const auto bits = static_cast<uint32_t>(value);
  for (int i = 0; i < 4; ++i) out[i] = static_cast<uint8_t>(bits >> (8 * i));
}

int32_t Get32(const uint8_t* in) {
  uint32_t bits = 0;
  for (int i = 0; i < 4; ++i) bits |= static_cast<uint32_t>(in[i]) << (8 * i);
  return static_cast<int32_t>(bits);
}

}  // namespace

void EncodeStepHeader(const StepHeader& header, uint8_t* out) {
  Put32(out, header.count);
  Put32(out + 4, header.previousFile);
  Put32(out + 8, header.previousOffset);
  Put32(out + 12, header.nextFile);
  Put32(out + 16, header.nextOffset);
}

StepHeader DecodeStepHeader(const uint8_t* in) {
  return {Get32(in), Get32(in + 4), Get32(in + 8), Get32(in + 12), Get32(in + 16)};
}

std::string UndoFileName(int number) {
  char name[32];
  std::snprintf(name, sizeof name, "UndoFile%02d.dat", number);
  return name;
}

}  // namespace lumavex
