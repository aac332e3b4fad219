#pragma once
// The score player's window: the score's title, a position slider that only displays, and
// the transport buttons Rewind, Beginning, Play, Stop and Fast Forward. The score starts
// playing when the window is first shown (when it has anything to play). Every button
// stops first; Play then plays from the beginning, the others spring back.

#include <QTimer>
#include <QWidget>
#include <array>

class QLabel;
class QToolButton;

namespace notecraft {
class Score;
}  // namespace notecraft

namespace tonegen {
class SoundMaster;
}  // namespace tonegen

namespace listenbox {

class ListenPlayer;

class frmPLYMain final : public QWidget {
  Q_OBJECT

public:
  static constexpr int kRewind = 0;
  static constexpr int kBeginning = 1;
  static constexpr int kPlay = 2;
  static constexpr int kStop = 3;
  static constexpr int kFastForward = 4;

  // Both borrowed for the window's life.
  frmPLYMain(notecraft::Score& score, tonegen::SoundMaster& sound, QWidget* parent = nullptr);
  ~frmPLYMain() override;

  QToolButton* Button(int index) const;
  ListenPlayer& Player() const { return *m_player; }
  int SliderMaximum() const { return m_sliderMaximum; }
  // The marker's left edge on the slider, in twips.
  int SliderLeft() const;

protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

private:
  void OnFirstShown();
  void OnTransportClicked(int index);
  void OnFinished();
  void ShowPosition(int position);
  void ReleaseButtons();

  notecraft::Score& m_score;
  ListenPlayer* m_player = nullptr;  // child
  QLabel* lblPlaying = nullptr;
  QWidget* pctSlider = nullptr;
  QWidget* imgSlider = nullptr;
  QWidget* pctPlay = nullptr;
  std::array<QToolButton*, 5> chkPlay{};
  QTimer m_positionTimer;
  int m_sliderMaximum = 0;
  int m_lastPosition = -1;
  bool m_shown = false;
};

}  // namespace listenbox
