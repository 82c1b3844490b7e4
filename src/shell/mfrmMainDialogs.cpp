// The main window's commands that ask first: resize, adjust and combine.
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <algorithm>
#include <memory>

#include "dialogs/frmCombination.h"
#include "dialogs/frmNewSize.h"
#include "dialogs/frmReglages.h"
#include "effects/Adjustments.h"
#include "shell/AdjustPreview.h"
#include "shell/frmImage.h"
#include "shell/mfrmMain.h"

namespace fotavel {

bool mfrmMain::RetaillerPhoto(frmImage& document) {
  frmNewSize dialog(m_ui, this);
  dialog.SetSize(document.Document().ImageWidth(), document.Document().ImageHeight());
  dialog.exec();
  if (dialog.Cancelled()) return false;
  return Guarded([&] { document.Document().Resample(dialog.ImageWidth(), dialog.ImageHeight()); });
}

// The preview lives as long as the dialog: whichever way the dialog closes,
// the window shows the photo itself again.
void mfrmMain::ReglerPhoto(frmImage& document) {
  PhotoDocument& photo = document.Document();
  // The preview lies over the photo where a mode's overlay would.
  document.LeaveModes();
  frmReglages dialog(this);
  // At the right of the window rather than centred over the photo, which is
  // what the sliders are watched on; but wholly on the screen, which a main
  // window grown with large fonts may overhang. The frame the desktop adds
  // is only known once shown: a margin of its size is kept from the edges.
  dialog.adjustSize();
  constexpr int kMargin = 24;
  const QRect room = screen()->availableGeometry();
  const QSize size = dialog.size() + QSize(kMargin, 2 * kMargin);
  dialog.move(std::clamp(geometry().right() - dialog.width() - kMargin, room.left(),
                         std::max(room.left(), room.right() + 1 - size.width())),
              std::clamp(geometry().top() + 80, room.top(),
                         std::max(room.top(), room.bottom() + 1 - size.height())));
  dialog.SetAutoLevels(AutoLevelsFor(ChannelHistogramOf(photo.Picture())));
  {
    AdjustPreview preview(document);
    dialog.SetHistogram(preview.Counts());
    connect(&dialog, &frmReglages::SettingsChanged, &preview, [&](const AdjustSettings& settings) {
      preview.SetSettings(settings);
      dialog.SetHistogram(preview.Counts());
    });
    connect(&dialog, &frmReglages::OriginalHeld, &preview, &AdjustPreview::ShowOriginal);
    dialog.exec();
  }
  if (dialog.Cancelled()) return;
  Guarded([&] { photo.Regler(dialog.Settings()); });
}

// The photos on offer are the open documents that hold one, in the order
// they were opened; the new photo goes into a window of its own.
void mfrmMain::CombinerPhotos() {
  QList<frmImage*> documents;
  QList<CombinationPhoto> photos;
  for (QMdiSubWindow* sub : m_mdi->subWindowList(QMdiArea::CreationOrder)) {
    auto* document = qobject_cast<frmImage*>(sub->widget());
    if (document == nullptr || document->Document().Picture().empty()) continue;
    documents.push_back(document);
    photos.push_back({document->Document().FileTitle(), document->Document().ImageWidth(),
                      document->Document().ImageHeight()});
  }
  if (documents.isEmpty()) {
    ImageActive();
    return;
  }
  frmCombination dialog(m_ui, this);
  dialog.SetPhotos(photos);
  dialog.exec();
  if (dialog.Cancelled()) return;

  CombinationSettings settings;
  settings.type = dialog.CombinationType();
  settings.multiplier1 = dialog.Multiplier(1);
  settings.offset1 = dialog.Offset(1);
  settings.multiplier2 = dialog.Multiplier(2);
  settings.offset2 = dialog.Offset(2);
  const cDIBSection& source1 = documents.at(dialog.ImageSource(1))->Document().Picture();
  const cDIBSection& source2 = documents.at(dialog.ImageSource(2))->Document().Picture();

  // The window shows once it holds the photo; one left without would be of no use.
  auto combined = std::make_unique<frmImage>(*this);
  if (!Guarded([&] { combined->Document().Combine(settings, source1, source2); })) return;
  ShowDocument(combined.release());
}

}  // namespace fotavel
