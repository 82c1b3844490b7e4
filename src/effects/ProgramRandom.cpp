// The program-wide random sequence, seeded once with a fixed value.
#include "effects/ProgramRandom.h"

namespace fotavel {

ProgramRandomEngine& ProgramRandom() {
  static ProgramRandomEngine engine(kProgramRandomSeed);
  return engine;
}

}  // namespace fotavel
