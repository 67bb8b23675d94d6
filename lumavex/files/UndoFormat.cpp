#include "lumavex/files/UndoFormat.h"

#include <cstdio>

#include "common/LittleEndian.h"

namespace lumavex {

void EncodeStepHeader(const StepHeader& header, uint8_t* out) {
  common::LittleEndianWriter w({out, kStepHeaderBytes});
  for (int32_t field : {header.count, header.previousFile, header.previousOffset, header.nextFile,
                        header.nextOffset})
    w.I32(field);
}

StepHeader DecodeStepHeader(const uint8_t* in) {
  common::LittleEndianReader r({in, kStepHeaderBytes});
  // A braced list reads its fields in order.
  return {r.I32(), r.I32(), r.I32(), r.I32(), r.I32()};
}

std::string UndoFileName(int number) {
  char name[32];
  std::snprintf(name, sizeof name, "UndoFile%02d.dat", number);
  return name;
}

}  // namespace lumavex
