// Fuzz target: any bytes as fotavel-batch's command line, arguments separated by NUL bytes.
#include <QByteArray>
#include <QStringList>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "FuzzSupport.h"
#include "batch/BatchOptions.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fotavel::fuzz::Start();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  QStringList arguments;
  for (const QByteArray& argument :
       QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size)).split('\0')) {
    arguments.push_back(QString::fromLocal8Bit(argument));
  }
  fotavel::batch::BatchOptions options;
  QString error;
  const bool parsed = fotavel::batch::ParseArguments(arguments, options, error);
  // A usage error always says what was wrong; a command line accepted asks
  // for help or names at least one photo and where it goes.
  if (!parsed ? error.isEmpty()
              : !options.help && (options.inputs.isEmpty() || options.output.isEmpty())) {
    std::abort();
  }
  if (parsed && !options.help) {
    for (const fotavel::batch::EffectStep& step : options.effects) {
      if (step.command == nullptr) std::abort();
      // Whatever text was accepted, the angle handed to the engine is one it takes.
      if (!(std::abs(step.argument.degrees) <= 45.0)) std::abort();
    }
    for (const QString& input : options.inputs) {
      fotavel::batch::OutputPathFor(input, options.output, options.format);
    }
  }
  return 0;
}
