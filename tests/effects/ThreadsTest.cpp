// The engine's threads: strips shared out, events still raised in order on the calling thread, the
// same bytes whatever the thread count.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "effects/Adjustments.h"
#include "effects/Checks.h"
#include "effects/FilterPasses.h"
#include "effects/cielbleu.h"
#include "surface/Preview.h"
#include "surface/WorkerPool.h"

namespace fotavel {
namespace {

using testing::Event;
using testing::RandomSurface;

// Thread count and threshold set for one test, put back after it.
class Threads : public ::testing::Test {
 protected:
  void SetUp() override {
    threads_ = SetThreadCount(0);
    minPixels_ = SetThreadMinPixels(1);
  }
  void TearDown() override {
    SetThreadCount(threads_);
    SetThreadMinPixels(minPixels_);
  }

 private:
  std::int32_t threads_ = 0;
  std::int64_t minPixels_ = 0;
};

// A listener that also notes whether every event came from the thread that
// started the pass.
class CallerEvents : public testing::EventRecorder {
 public:
  bool elsewhere = false;
  void Progress(std::int32_t position) override {
    elsewhere = elsewhere || std::this_thread::get_id() != caller_;
    EventRecorder::Progress(position);
  }

 private:
  std::thread::id caller_ = std::this_thread::get_id();
};

TEST_F(Threads, DonesComeInOrderOnTheCallerAfterTheirWork) {
  SetThreadCount(3);
  constexpr std::int32_t kCount = 40;
  std::vector<std::atomic<bool>> worked(kCount);
  std::mutex mutex;
  std::set<std::thread::id> workers;
  std::vector<std::int32_t> order;
  const std::thread::id caller = std::this_thread::get_id();
  RunInOrder(
      kCount,
      [&](std::int32_t i) {
        // Uneven items, so that they finish out of order.
        std::this_thread::sleep_for(std::chrono::microseconds(300 * ((i * 7) % 5)));
        {
          std::lock_guard lock(mutex);
          workers.insert(std::this_thread::get_id());
        }
        worked[std::size_t(i)] = true;
      },
      [&](std::int32_t i) {
        EXPECT_EQ(std::this_thread::get_id(), caller);
        EXPECT_TRUE(worked[std::size_t(i)]) << i;
        order.push_back(i);
      });
  std::vector<std::int32_t> expected(kCount);
  for (std::int32_t i = 0; i < kCount; ++i) expected[std::size_t(i)] = i;
  EXPECT_EQ(order, expected);
  EXPECT_GT(workers.size(), 1u);
  EXPECT_LE(workers.size(), 3u);
}

TEST_F(Threads, AFailedWorkIsRethrownAndNothingAfterItIsReported) {
  SetThreadCount(4);
  std::vector<std::int32_t> order;
  EXPECT_THROW(RunInOrder(
                   30,
                   [](std::int32_t i) {
                     if (i == 5) throw std::runtime_error("item 5");
                     std::this_thread::sleep_for(std::chrono::microseconds(200));
                   },
                   [&](std::int32_t i) { order.push_back(i); }),
               std::runtime_error);
  for (const std::int32_t i : order) EXPECT_LT(i, 5);
  // The pool is still whole afterwards.
  std::atomic<std::int32_t> sum{0};
  RunInOrder(
      10, [&](std::int32_t i) { sum += i; }, [](std::int32_t) {});
  EXPECT_EQ(sum, 45);
}

TEST_F(Threads, SeveralCallersAtOnceEachGetTheirOwnOrder) {
  SetThreadCount(3);
  std::vector<std::int32_t> orders[3];
  std::vector<std::thread> callers;
  for (auto& order : orders) {
    callers.emplace_back([&order] {
      RunInOrder(
          60, [](std::int32_t) { std::this_thread::sleep_for(std::chrono::microseconds(100)); },
          [&order](std::int32_t i) { order.push_back(i); });
    });
  }
  for (std::thread& t : callers) t.join();
  for (const auto& order : orders) {
    ASSERT_EQ(order.size(), 60u);
    for (std::int32_t i = 0; i < 60; ++i) EXPECT_EQ(order[std::size_t(i)], i);
  }
}

using Passes =
    std::vector<std::pair<std::string, std::function<void(cImageProcessDIB&, cDIBSection&)>>>;

// Each pass on a copy of `photo` at 2, 3 and 7 threads (more than the machine may have) gives the
// bytes and the events of one thread, every event raised on the caller.
void ExpectSameOnEveryCount(const cDIBSection& photo, const Passes& passes) {
  for (const auto& [name, pass] : passes) {
    SCOPED_TRACE(name);
    cDIBSection one = testing::Copy(photo);
    SetThreadCount(1);
    const std::vector<Event> reference =
        testing::Recorded([&](cImageProcessDIB& e) { pass(e, one); });
    for (const std::int32_t threads : {2, 3, 7}) {
      SetThreadCount(threads);
      cDIBSection many = testing::Copy(photo);
      cImageProcessDIB engine;
      CallerEvents events;
      engine.SetListener(&events);
      pass(engine, many);
      EXPECT_TRUE(testing::SamePixels(many, one))
          << threads << " threads: " << testing::FirstDifference(many, one);
      // A pass that builds a new surface leaves its padding as allocated.
      if (testing::PaddingIntact(one)) {
        EXPECT_TRUE(testing::PaddingIntact(many)) << threads << " threads";
      }
      EXPECT_EQ(events.events, reference) << threads << " threads";
      EXPECT_FALSE(events.elsewhere) << threads << " threads";
    }
  }
}

TEST_F(Threads, RowBandsCoverEveryRowOnceAndAreDoneInOrder) {
  for (const std::int32_t threads : {1, 3}) {
    SetThreadCount(threads);
    for (const std::int32_t rows : {1, 7, 100}) {
      std::vector<std::atomic<std::int32_t>> seen(static_cast<std::size_t>(rows));
      std::vector<std::pair<std::int32_t, std::int32_t>> done;
      ForEachRowBand(
          rows, 1,
          [&](std::int32_t y0, std::int32_t y1) {
            for (std::int32_t y = y0; y < y1; ++y) ++seen[std::size_t(y)];
          },
          [&](std::int32_t y0, std::int32_t y1) { done.emplace_back(y0, y1); }, 5);
      for (std::int32_t y = 0; y < rows; ++y) EXPECT_EQ(seen[std::size_t(y)], 1) << y;
      ASSERT_FALSE(done.empty());
      EXPECT_EQ(done.front().first, 0);
      EXPECT_EQ(done.back().second, rows);
      for (std::size_t i = 0; i < done.size(); ++i) {
        if (i > 0) {
          EXPECT_EQ(done[i].first, done[i - 1].second);
        }
        // Bands keep the rows asked for, but for the last.
        if (i + 1 < done.size()) {
          EXPECT_GE(done[i].second - done[i].first, 5);
        }
      }
      if (threads == 1) {
        EXPECT_EQ(done.size(), 1u);
      } else if (rows == 100) {
        EXPECT_EQ(done.size(), 12u);
      }
    }
  }
}

// Every pass that shares its strips out (and the histogram, its bands of
// rows), on a picture wide enough for many strips.
TEST_F(Threads, EveryPixelPassGivesTheSameBytesAndEventsOnAnyCount) {
  const Passes passes = {
      {"Lighten", [](cImageProcessDIB& e, cDIBSection& s) { e.Lighten(s, 20); }},
      {"Darken", [](cImageProcessDIB& e, cDIBSection& s) { e.Lighten(s, -20); }},
      {"GrayScale", [](cImageProcessDIB& e, cDIBSection& s) { e.GrayScale(s); }},
      {"Fade", [](cImageProcessDIB& e, cDIBSection& s) { e.Fade(s, 240); }},
      {"Sature", [](cImageProcessDIB& e, cDIBSection& s) { e.Sature(s, 30); }},
      {"Cut", [](cImageProcessDIB& e, cDIBSection& s) { e.Eff_NoirEtBlancCoupe(s); }},
      {"Adjust",
       [](cImageProcessDIB& e, cDIBSection& s) {
         e.Adjust(s, AdjustSettings{20, 15, 30, -25});
       }},
      {"AutoImprove",
       [](cImageProcessDIB& e, cDIBSection& s) {
         e.AutoImprove(s, AutoLevels{{10, 12, 14}, {240, 235, 230}, 15});
       }},
  };
  const cDIBSection photo = RandomSurface(2601, 400, 11);
  SetThreadCount(1);
  const Histogram counted = HistogramOf(photo);
  for (const std::int32_t threads : {2, 3, 7}) {
    SetThreadCount(threads);
    EXPECT_EQ(HistogramOf(photo), counted) << threads << " threads";
  }
  ExpectSameOnEveryCount(photo, passes);
}

// The undo copy and the crop's block copy, rows shared out: each row the
// source's, byte for byte, and the padding left as it was.
TEST_F(Threads, BlockCopiesAreTheSameOnAnyCount) {
  const cDIBSection source = RandomSurface(2603, 1201, 5);
  struct Block {
    std::int32_t left, top, width, height;
  };
  for (const Block b : {Block{0, 0, 2603, 1201}, {7, 13, 2001, 1187}, {2602, 1200, 1, 1}}) {
    for (const std::int32_t threads : {1, 2, 3, 7}) {
      SetThreadCount(threads);
      cDIBSection copy = testing::UniformSurface(b.width, b.height, 1, 2, 3);
      ASSERT_TRUE(copy.LoadPictureBlt(source, b.left, b.top));
      EXPECT_TRUE(testing::PaddingIntact(copy));
      // Displayed row r of the copy is displayed row top + r of the source.
      for (std::int32_t r = 0; r < b.height; ++r) {
        const std::uint8_t* got = copy.row(b.height - 1 - r);
        const std::uint8_t* want = source.row(source.height() - 1 - b.top - r) + 3 * b.left;
        ASSERT_TRUE(std::equal(got, got + 3 * b.width, want))
            << "row " << r << " of block at " << b.left << ',' << b.top << ", " << threads
            << " threads";
      }
    }
  }
}

// A pass that leaves results in both the image and the scratch surface.
using TwoSurfacePass =
    std::function<void(ProgressListener&, cDIBSection& image, cDIBSection& buffer)>;

// As ExpectSameOnEveryCount, comparing the scratch surface too (it starts
// random, so a row left unwritten shows).
void ExpectBothSameOnEveryCount(const cDIBSection& photo, const std::string& name,
                                const TwoSurfacePass& pass) {
  SCOPED_TRACE(name);
  const cDIBSection scratch = RandomSurface(photo.width(), photo.height(), 5);
  SetThreadCount(1);
  cDIBSection oneImage = testing::Copy(photo);
  cDIBSection oneBuffer = testing::Copy(scratch);
  testing::EventRecorder reference;
  pass(reference, oneImage, oneBuffer);
  for (const std::int32_t threads : {2, 3, 7}) {
    SetThreadCount(threads);
    cDIBSection image = testing::Copy(photo);
    cDIBSection buffer = testing::Copy(scratch);
    CallerEvents events;
    pass(events, image, buffer);
    EXPECT_EQ(testing::FirstDifference(image, oneImage), "") << threads << " threads, image";
    EXPECT_EQ(testing::FirstDifference(buffer, oneBuffer), "") << threads << " threads, buffer";
    EXPECT_TRUE(testing::PaddingIntact(image));
    EXPECT_TRUE(testing::PaddingIntact(buffer));
    EXPECT_EQ(events.events, reference.events) << threads << " threads";
    EXPECT_FALSE(events.elsewhere) << threads << " threads";
  }
}

TwoSurfacePass Filtered(std::function<void(cImageProcessDIB&)> setUp) {
  return [setUp](ProgressListener& listener, cDIBSection& image, cDIBSection& buffer) {
    cImageProcessDIB engine;
    engine.SetListener(&listener);
    setUp(engine);
    engine.ProcessImage(image, buffer);
  };
}

// Every filter type (through ProcessImage), every kernel size written back
// into the image or left in the scratch surface only, the rank filters too,
// on pictures whose bands (at 7 threads one or two rows) are thinner than the
// neighbourhood, on ones a few rows taller than it, and on ones without a
// whole neighbourhood anywhere.
TEST_F(Threads, EveryNeighbourhoodFilterGivesTheSameBytesAndEventsOnAnyCount) {
  std::vector<std::pair<std::string, TwoSurfacePass>> passes;
  for (std::int32_t type = 1; type <= 11; ++type) {
    passes.emplace_back("type " + std::to_string(type),
                        Filtered([type](cImageProcessDIB& e) { e.FilterType(type); }));
  }
  for (const std::int32_t size : {3, 5, 7, 9}) {
    std::vector<std::int32_t> kernel(std::size_t(size) * size);
    for (std::size_t i = 0; i < kernel.size(); ++i) kernel[i] = std::int32_t(i % 7) - 2;
    for (const bool intoImage : {false, true}) {
      passes.emplace_back(
          "convolution " + std::to_string(size) + (intoImage ? " into image" : " into buffer"),
          [size, kernel, intoImage](ProgressListener& l, cDIBSection& image, cDIBSection& buffer) {
            ProgressEvents events;
            events.SetListener(&l);
            detail::RunConvolution(events, image, buffer, size, kernel.data(), 11, intoImage);
          });
    }
  }
  for (const std::int32_t type : {9, 10, 11}) {
    passes.emplace_back("rank " + std::to_string(type) + " into buffer",
                        [type](ProgressListener& l, cDIBSection& image, cDIBSection& buffer) {
                          ProgressEvents events;
                          events.SetListener(&l);
                          detail::RunRankFilter(events, image, buffer, type, false);
                        });
  }
  for (const testing::Size size :
       {testing::Size{301, 61}, {259, 150}, {13, 11}, {11, 9}, {10, 4}, {3, 3}}) {
    SCOPED_TRACE(std::to_string(size.width) + " x " + std::to_string(size.height));
    const cDIBSection photo = RandomSurface(size.width, size.height, 17);
    for (const auto& [name, pass] : passes) ExpectBothSameOnEveryCount(photo, name, pass);
  }
}

// The user's matrix: 1 x 1 to 7 x 7, divisors ±1 (plain arithmetic) and
// others (the table), with a bias.
TEST_F(Threads, MathematiqueGivesTheSameBytesAndEventsOnAnyCount) {
  Passes passes;
  for (const std::int32_t n : {1, 3, 5, 7}) {
    for (const std::int32_t divisor : {1, -1, 7}) {
      std::vector<std::int32_t> list = {n, n, divisor, 9};
      for (std::int32_t i = 0; i < n * n; ++i) list.push_back((i * 5) % 7 - 3);
      passes.emplace_back(
          "matrix " + std::to_string(n) + " / " + std::to_string(divisor),
          [list](cImageProcessDIB& e, cDIBSection& s) { e.Eff_Mathematique(s, list); });
    }
  }
  ExpectSameOnEveryCount(RandomSurface(301, 61, 23), passes);
  ExpectSameOnEveryCount(RandomSurface(5, 3, 29), passes);
}

// The combinations share bands of rows out and raise their paced column
// events from the caller; the source is larger than the destination, so a
// row read at the wrong place shows.
TEST_F(Threads, CombinationsGiveTheSameBytesAndEventsOnAnyCount) {
  const cDIBSection source = RandomSurface(1013, 317, 21);
  const Passes passes = {
      {"AddLightest", [&](cImageProcessDIB& e, cDIBSection& s) { e.AddLightest(source, s); }},
      {"AddDarkest", [&](cImageProcessDIB& e, cDIBSection& s) { e.AddDarkest(source, s); }},
      {"AddImages16", [&](cImageProcessDIB& e,
                          cDIBSection& s) { e.AddImages(source, s, 1, 3, -5, 7, -1, 2, 0, 9); }},
      {"AddImages32",
       [&](cImageProcessDIB& e, cDIBSection& s) {
         e.AddImages(source, s, 300, -40, 2, 1, -170, 5, -3, 30);
       }},
      {"AddImagesWide",
       [&](cImageProcessDIB& e, cDIBSection& s) {
         e.AddImages(source, s, 2000000000, -1, 1, 0, -2000000000, 0, 1, -1);
       }},
  };
  ExpectSameOnEveryCount(RandomSurface(1001, 301, 22), passes);
}

// Quarter turns share bands of 64 source rows (23, the last one short: in
// twelve shares of two at 2 threads, the last of one; one a share at 3 and 7),
// crop and straighten bands of destination rows; each raises its events on
// the caller in the one-thread order.
TEST_F(Threads, TurnsCropAndStraightenGiveTheSameBytesAndEventsOnAnyCount) {
  const Passes turns = {
      {"TurnLeft", [](cImageProcessDIB& e, cDIBSection& s) { e.Tourner(s, true); }},
      {"TurnRight", [](cImageProcessDIB& e, cDIBSection& s) { e.Tourner(s, false); }},
  };
  ExpectSameOnEveryCount(RandomSurface(203, 1443, 23), turns);
  const Passes geometry = {
      {"Crop",
       [](cImageProcessDIB& e, cDIBSection& s) {
         e.Crop(s, PixelRect{17, 29, 341, 233});
       }},
      {"StraightenLeftWhite",
       [](cImageProcessDIB& e, cDIBSection& s) { e.Straighten(s, -4.3, true); }},
      {"StraightenLeftCropped",
       [](cImageProcessDIB& e, cDIBSection& s) { e.Straighten(s, -4.3, false); }},
      {"StraightenRightWhite",
       [](cImageProcessDIB& e, cDIBSection& s) { e.Straighten(s, 7.9, true); }},
      {"StraightenRightCropped",
       [](cImageProcessDIB& e, cDIBSection& s) { e.Straighten(s, 7.9, false); }},
  };
  ExpectSameOnEveryCount(RandomSurface(401, 299, 24), geometry);
}

// The surface's own row passes, which raise no events: resampling up, down
// and in strips of columns (a result wider than one strip), the preview
// reduction and the sky gradient.
TEST_F(Threads, ResamplePreviewAndGradientGiveTheSameBytesOnAnyCount) {
  const cDIBSection photo = RandomSurface(523, 347, 25);
  const std::vector<std::pair<std::int32_t, std::int32_t>> sizes = {
      {1001, 713}, {211, 97}, {523, 61}, {4613, 45}};
  const auto run = [&](std::int32_t threads) {
    SetThreadCount(threads);
    std::vector<cDIBSection> results;
    for (const auto& [width, height] : sizes) {
      const auto resampled = photo.Resample(height, width);
      EXPECT_TRUE(resampled != nullptr);
      results.push_back(resampled ? testing::Copy(*resampled) : cDIBSection());
    }
    results.emplace_back();
    EXPECT_TRUE(results.back().Create(733, 487));
    SamplePreview(photo.view(), results.back());
    results.emplace_back();
    EXPECT_TRUE(results.back().Create(301, 999));
    cielbleu::PaintGradient(results.back());
    return results;
  };
  const std::vector<cDIBSection> one = run(1);
  for (const std::int32_t threads : {2, 3, 7}) {
    const std::vector<cDIBSection> many = run(threads);
    ASSERT_EQ(many.size(), one.size());
    for (std::size_t i = 0; i < one.size(); ++i) {
      EXPECT_TRUE(testing::SamePixels(many[i], one[i]))
          << threads << " threads, result " << i << ": "
          << testing::FirstDifference(many[i], one[i]);
    }
  }
}

}  // namespace
}  // namespace fotavel
