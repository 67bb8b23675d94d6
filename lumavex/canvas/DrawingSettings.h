#pragma once
// The drawing settings that curves, frames, fills and pens read. Every run starts
// from these values; settings files replace them on the user's command.
// Lengths kept as doubles are in pixels; the dialogs show them in 1/100 pixel.

#include <cstdint>
#include <string>

namespace lumavex {

struct DrawingSettings {
  int splinePointCount = 400;
  double frameWidth = 0.25;
  int maxOpacity = 255;
  double headFade = 0.0;
  double terminationFade = 0.0;
  double antiAliasWidth = 1.0;
  int pointSpacing = 20;  // 1/100 pixel

  int gradationPenWidth = 20;
  int gradationDegree = 5;
  int normalPenWidth = 0;
  int frameDeletePenWidth = 20;
  int colourChangePenWidth = 20;
  bool colourChangeDeletesFrame = true;
  int mosaicPenWidth = 10;
  int mosaicCellWidth = 8;
  int frameGradationPenWidth = 20;
  int frameGradationDegree = 5;
  int transparentDeletePenWidth = 20;
  int selectPenWidth = 20;
  int deselectPenWidth = 20;

  int borderFrameOpacity = 100;
  int areaBorderFrameOpacity = 50;
  int rgbTolerance = 0;

  int loadLimitWidth = 800;
  int loadLimitHeight = 600;
  int processingSquareSide = 10000;

  std::string pasteText;       // UTF-8
  int characterWidth = 40;
  int characterHeight = 40;
  int characterSpacing = 0;
  std::string fontName;        // UTF-8
  int fontWeight = 400;
  bool italic = false;
  bool vertical = true;

  int fattenWidth = 140;          // 1/100 pixel
  int fattenAntiAliasWidth = 0;   // 1/100 pixel

  int reductionNumerator = 1;
  int reductionDenominator = 2;

  int tabletMaxBasePoints = 4;
  int tabletMinPressure = 0;  // raw pressure
  int fileNumberStep = -1;    // none chosen yet
};

}  // namespace lumavex
