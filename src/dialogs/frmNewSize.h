// The resize dialog: a new photo size in pixels, proportions optionally kept, or as a percentage.
#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>
#include <optional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace fotavel {

class UiServices;

// Made for one resize: the caller hands it the photo's size with SetSize,
// shows it with exec(), then reads Cancelled() and, when false, ImageWidth()
// and ImageHeight(), which stay readable after the window has closed.
//
// The width, height and percent boxes recompute one another on every change
// of their text, typed or written from code, so a percentage walks through the
// width and height boxes in turn exactly as typing them would.
class frmNewSize : public QDialog {
  Q_OBJECT

 public:
  explicit frmNewSize(UiServices& ui, QWidget* owner = nullptr);

  // The photo's size: shown beside the boxes, and written into them as the
  // starting choice.
  void SetSize(std::int32_t lW, std::int32_t lH);

  // False only once OK closed the dialog with a size a photo can take.
  bool Cancelled() const { return m_cancelled; }
  // The chosen size; meaningful only when Cancelled() is false.
  std::int32_t ImageWidth() const { return m_imageWidth; }
  std::int32_t ImageHeight() const { return m_imageHeight; }

  QRadioButton* EnPix() const { return m_enPix; }
  QRadioButton* EnPourc() const { return m_enPourc; }
  QLineEdit* txtWidth() const { return m_txtWidth; }
  QLineEdit* txtHeight() const { return m_txtHeight; }
  QLineEdit* txtPercent() const { return m_txtPercent; }
  QLabel* lblOrigWidth() const { return m_lblOrigWidth; }
  QLabel* lblOrigHeight() const { return m_lblOrigHeight; }
  QCheckBox* chkKeepProportion() const { return m_chkKeepProportion; }
  QPushButton* cmdOK() const { return m_cmdOK; }
  QPushButton* cmdCancel() const { return m_cmdCancel; }

 private slots:
  void EnPix_Toggled(bool on);
  void EnPourc_Toggled(bool on);
  void txtWidth_Change();
  void txtHeight_Change();
  void txtPercent_Change();
  void cmdOK_Click();

 private:
  // `partnerOriginal` × `typed` ÷ `ownOriginal`, the product first and the
  // division truncating; nothing when the original is 0 or the result leaves
  // the 32-bit range, so that a box is never filled with a wrapped value.
  static std::optional<std::int32_t> Proportional(std::int32_t partnerOriginal, std::int32_t typed,
                                                  std::int32_t ownOriginal);
  // The nearest whole number to `original` × `factor`, halves to even;
  // nothing outside the 32-bit range.
  static std::optional<std::int32_t> Scaled(std::int32_t original, double factor);

  UiServices& m_ui;
  QRadioButton* m_enPix = nullptr;
  QLineEdit* m_txtWidth = nullptr;
  QLabel* m_lblOrigWidth = nullptr;
  QLineEdit* m_txtHeight = nullptr;
  QLabel* m_lblOrigHeight = nullptr;
  QCheckBox* m_chkKeepProportion = nullptr;
  QRadioButton* m_enPourc = nullptr;
  QLineEdit* m_txtPercent = nullptr;
  QPushButton* m_cmdCancel = nullptr;
  QPushButton* m_cmdOK = nullptr;

  std::int32_t m_origWidth = 0;
  std::int32_t m_origHeight = 0;
  std::int32_t m_imageWidth = 0;
  std::int32_t m_imageHeight = 0;
  bool m_cancelled = true;
  // Non-empty on a box while the other box's handler writes into it, naming
  // the writer: the write must not bounce back and recompute the writer.
  QString m_txtWidthTag;
  QString m_txtHeightTag;
};

}  // namespace fotavel
