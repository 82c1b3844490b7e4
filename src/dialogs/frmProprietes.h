// The photo's properties: what a file manager would say of its file, and the picture's size.
#pragma once

#include <QDateTime>
#include <QDialog>
#include <QString>
#include <cstdint>
#include <optional>

class QFormLayout;

namespace fotavel {

// What the window shows. A photo that has no file yet (a pasted one) has
// only a name and a pixel size.
struct PhotoProperties {
  QString name;
  std::int32_t width = 0;
  std::int32_t height = 0;
  // Set only for a photo that has a file on disk.
  QString folder;
  std::optional<std::int64_t> bytes;
  QDateTime created;
  QDateTime modified;
  QDateTime read;

  // The properties of the file at `path` (name, folder, size, dates, read
  // afresh), for a photo of width x height pixels; only the name when there
  // is no such file.
  static PhotoProperties Of(const QString& path, std::int32_t width, std::int32_t height);
};

// A read-only window made for one look; "Fermer" (or Escape) closes it.
class frmProprietes : public QDialog {
  Q_OBJECT

 public:
  explicit frmProprietes(const PhotoProperties& properties, QWidget* owner = nullptr);

  // The value shown beside `label` ("Taille sur le disque" …); empty when
  // the window has no such line.
  QString Value(const QString& label) const;

  // "2,4 Mo (2 512 345 octets)" in the user's notation.
  static QString SizeText(std::int64_t bytes);

 private:
  QFormLayout* m_form = nullptr;
};

}  // namespace fotavel
