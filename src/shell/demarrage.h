// The splash window: shown first, it opens the main window after 5 seconds, a key or a click.
#pragma once

#include <QWidget>
#include <functional>

class QLabel;
class QTimer;

namespace fotavel {

class demarrage : public QWidget {
  Q_OBJECT

 public:
  // `showMain` opens the main window; it runs once, whatever ends the splash.
  explicit demarrage(std::function<void()> showMain, QWidget* parent = nullptr);

  QTimer* TimerDemarrage() const { return m_timer; }

  // The maker's web site, opened by the GoSite link.
  static const QString kSite;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  void Continue();

  std::function<void()> m_showMain;
  QTimer* m_timer = nullptr;
  bool m_done = false;
};

}  // namespace fotavel
