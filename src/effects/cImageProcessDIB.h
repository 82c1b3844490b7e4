// cImageProcessDIB: the effects engine each document owns.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "effects/Adjustments.h"
#include "effects/CropGeometry.h"
#include "effects/ImageProcessError.h"
#include "effects/ProgramRandom.h"
#include "effects/ProgressEvents.h"
#include "surface/cDIBSection.h"

namespace fotavel {

// Every effect of the program runs through this object on cDIBSection
// surfaces. Passes report through the three progress events to the listener
// and refuse bad arguments by throwing ImageProcessError, leaving the
// surfaces unchanged. Operations are grouped by family in their own files:
// filters (Filters.cpp, Convolution.cpp, RankFilters.cpp), combinations
// (Combinations.cpp), colour effects (ColourEffects.cpp, Lighten.cpp,
// BlackAndWhite.cpp) and geometry and texture (Rotation.cpp, Diffusion.cpp,
// Mathematique.cpp, FlouLocal.cpp), crop and straighten (Straighten.cpp),
// adjustments (Adjustments.cpp), red eyes (RedEyes.cpp).
class cImageProcessDIB {
 public:
  cImageProcessDIB() = default;

  void SetListener(ProgressListener* listener) { m_events.SetListener(listener); }

  // The random sequence Diffusion draws from; nullptr (the default) is the
  // program-wide ProgramRandom(). Engines that run on several threads at
  // once are each given their own: the program-wide one is shared and
  // unguarded. The engine does not own it; it must outlive the engine's use.
  void SetRandom(ProgramRandomEngine* random) { m_random = random; }

  // ---- Filters: convolution kernels and 3 x 3 rank filters ----
  // 1 Blur, 2 Blur More, 3 Soften, 4 Soften More, 5 Sharpen, 6 Sharpen More,
  // 7 Unsharp, 8 Emboss, 9 mean, 10 minimum, 11 maximum, 12 custom kernel.
  void FilterType(std::int32_t eType);
  std::int32_t FilterType() const { return m_filterType; }
  void FilterArraySize(std::int32_t lSize);
  std::int32_t FilterArraySize() const { return m_kernelSize; }
  void FilterValue(std::int32_t iX, std::int32_t iY, std::int32_t lValue);
  std::int32_t FilterValue(std::int32_t iX, std::int32_t iY) const;
  void FilterWeight(std::int32_t lWeight) { m_weight = lWeight; }
  std::int32_t FilterWeight() const { return m_weight; }
  // Applies the current filter type to cImage, using cBuffer (same size) as
  // scratch. False when no filter type is set.
  bool ProcessImage(cDIBSection& cImage, cDIBSection& cBuffer);

  // ---- Combinations of two surfaces (aligned at their bottom-left corners) ----
  void AddLightest(const cDIBSection& cFrom, cDIBSection& cTo);
  void AddDarkest(const cDIBSection& cFrom, cDIBSection& cTo);
  void AddImages(const cDIBSection& cFrom, cDIBSection& cTo, std::int32_t lFromMultiplier,
                 std::int32_t lFromOffsetR, std::int32_t lFromOffsetG, std::int32_t lFromOffsetB,
                 std::int32_t lToMultiplier, std::int32_t lToOffsetR, std::int32_t lToOffsetG,
                 std::int32_t lToOffsetB);

  // ---- Colour effects ----
  void GrayScale(cDIBSection& image);
  void Lighten(cDIBSection& image, std::int32_t percentage);
  void Fade(cDIBSection& cTo, std::int32_t lAmount);
  void Sature(cDIBSection& image, std::int32_t percentage);
  void Eff_NoirEtBlancCoupe(cDIBSection& image);
  void BlackAndWhite(cDIBSection& cFrom, cDIBSection& cTo);

  // ---- Geometric and texture effects ----
  // Sens true turns a quarter left (anticlockwise), false a quarter right.
  void Tourner(cDIBSection& MonDIB, bool Sens);
  void Diffusion(cDIBSection& image, std::int32_t factor);
  void Eff_Mathematique(cDIBSection& image, std::span<const std::int32_t> parameters);
  void FlouLocal(cDIBSection& cTo, std::int32_t debutx, std::int32_t debuty, std::int32_t finx,
                 std::int32_t finy);

  // ---- Crop and straighten (geometry in effects/CropGeometry.h) ----
  // Keeps the `rect` of the picture (pixels from the top-left corner as
  // displayed); image becomes rect.width x rect.height. kCropOutside unless
  // the rectangle is at least 1 x 1 and lies wholly inside the picture.
  void Crop(cDIBSection& image, const PixelRect& rect);
  // Turns the picture by `degrees` (-45 … 45, positive clockwise as
  // displayed, like a quarter turn to the right), resampled bicubically.
  // Cropped: image becomes StraightenedSize(…, false), the largest centred
  // rectangle of its own proportions with no empty corner; whiteCorners:
  // the whole turned picture, corners white. kAngleRange for another angle.
  void Straighten(cDIBSection& image, double degrees, bool whiteCorners);

  // ---- Adjustments and the automatic improvement (Adjustments.cpp) ----
  // Every pixel through Adjustment(settings), in the per-pixel passes' frame.
  void Adjust(cDIBSection& image, const AdjustSettings& settings);
  // The levels stretch and saturation of `levels`, in one pass of the same frame.
  void AutoImprove(cDIBSection& image, const AutoLevels& levels);

  // ---- Red eyes (RedEyes.cpp) ----
  // The red pupil nearest the point (x, y) (pixels from the top-left as
  // displayed) within `radius` of it becomes a dark neutral one, its rim
  // blended with what surrounds it; no other pixel changes. Returns the
  // pixels changed, 0 (nothing done, no events) when no red pixel lies
  // within the radius. kRedEyePoint for a point outside the picture or a
  // radius below 1.
  std::int64_t RedEyes(cDIBSection& image, std::int32_t x, std::int32_t y, std::int32_t radius);
  // The pixels RedEyes would change there, the picture untouched: a caller
  // that keeps an undo copy asks first, so a click beside the eye stores none.
  std::int64_t RedPupilSize(const cDIBSection& image, std::int32_t x, std::int32_t y,
                            std::int32_t radius) const;

 private:
  ProgressEvents m_events;
  ProgramRandomEngine* m_random = nullptr;

  std::int32_t m_filterType = 0;
  std::int32_t m_kernelSize = 0;
  std::int32_t m_kernelHalf = 0;
  // Kernel entry (iX, iY) at m_kernel[(iY + half) * size + (iX + half)].
  std::vector<std::int32_t> m_kernel;
  std::int32_t m_weight = 0;
};

}  // namespace fotavel
