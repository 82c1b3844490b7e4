// A command the document refuses, with the French text the user sees.
#pragma once

#include <QString>
#include <stdexcept>

namespace fotavel {

class DocumentError : public std::runtime_error {
 public:
  explicit DocumentError(const QString& text) : std::runtime_error(text.toStdString()), text_(text) {}
  const QString& text() const { return text_; }

 private:
  QString text_;
};

}  // namespace fotavel
