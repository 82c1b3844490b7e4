// The combination dialog: two of the open photos and the way to combine them (add, darkest,
// lightest).
#pragma once

#include <QDialog>
#include <QList>
#include <QString>
#include <array>
#include <cstdint>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace fotavel {

class UiServices;

// One open photo as the dialog lists it.
struct CombinationPhoto {
  QString title;  // the document's file title
  std::int32_t width = 0;
  std::int32_t height = 0;
};

// Made for one combination: the caller lists the open photos with SetPhotos,
// shows it with exec(), then reads Cancelled() and, when false, the choices,
// which stay readable after the window has closed. The dialog computes no
// pixels; ImageSource says which listed photos to combine.
class frmCombination : public QDialog {
  Q_OBJECT

 public:
  explicit frmCombination(UiServices& ui, QWidget* owner = nullptr);

  // Lists `photos` in both source lists, in this order, and selects the first
  // as source 1 and the second (the first again when it is alone) as source 2.
  void SetPhotos(QList<CombinationPhoto> photos);

  // False only once OK closed the dialog with every box read.
  bool Cancelled() const { return m_cancelled; }
  // 1 adds the images, 2 keeps the darkest pixel, 3 the lightest.
  std::int32_t CombinationType() const { return m_combinationType; }
  // Offset and multiplier of source lIndex (1 or 2); 0 for any other index.
  std::int32_t Offset(std::int32_t lIndex) const;
  std::int32_t Multiplier(std::int32_t lIndex) const;
  // 0-based index, into the list given to SetPhotos, of source lIndex (1 or
  // 2); -1 while nothing is listed or for any other index.
  std::int32_t ImageSource(std::int32_t lIndex) const;
  // The result's size: the smaller width and the smaller height of the sources.
  std::int32_t NewImageWidth() const { return m_newImageWidth; }
  std::int32_t NewImageHeight() const { return m_newImageHeight; }

  // Controls by column: 0 for source 1, 1 for source 2.
  QLabel* lblSource(int i) const { return m_lblSource.at(i); }
  QComboBox* cboSource(int i) const { return m_cboSource.at(i); }
  QLabel* lblOffset(int i) const { return m_lblOffset.at(i); }
  QLineEdit* txtOffset(int i) const { return m_txtOffset.at(i); }
  QLabel* lblMultiplier(int i) const { return m_lblMultiplier.at(i); }
  QLineEdit* txtMultiplier(int i) const { return m_txtMultiplier.at(i); }
  // 0 "&Add Images", 1 "&Darkest", 2 "&Lightest".
  QRadioButton* optCombine(int i) const { return m_optCombine.at(i); }
  QLabel* lblInfo() const { return m_lblInfo; }
  QPushButton* cmdOK() const { return m_cmdOK; }
  QPushButton* cmdCancel() const { return m_cmdCancel; }

 private slots:
  void optCombine_Toggled();
  void cmdOK_Click();

 private:
  void cboSource_Click(int k);

  UiServices& m_ui;
  QList<CombinationPhoto> m_photos;

  std::array<QLabel*, 2> m_lblSource{};
  std::array<QComboBox*, 2> m_cboSource{};
  std::array<QLabel*, 2> m_lblOffset{};
  std::array<QLineEdit*, 2> m_txtOffset{};
  std::array<QLabel*, 2> m_lblMultiplier{};
  std::array<QLineEdit*, 2> m_txtMultiplier{};
  std::array<QRadioButton*, 3> m_optCombine{};
  QLabel* m_lblInfo = nullptr;
  QPushButton* m_cmdOK = nullptr;
  QPushButton* m_cmdCancel = nullptr;
  // The offset and multiplier labels and boxes: only adding uses them.
  QList<QWidget*> m_addGroup;
  // "DONT" on a list while its first selection is made: that selection only
  // records the source, as the other list has none yet to size the result by.
  std::array<QString, 2> m_cboSourceTag;

  bool m_cancelled = true;
  std::int32_t m_combinationType = 0;
  std::array<std::int32_t, 2> m_offset{};
  std::array<std::int32_t, 2> m_multiplier{};
  std::array<std::int32_t, 2> m_source{-1, -1};
  std::int32_t m_newImageWidth = 0;
  std::int32_t m_newImageHeight = 0;
};

}  // namespace fotavel
