// The program run unattended ("/s"): its exit codes, and the notes heard where they belong
// in the sound the file audio driver writes.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "listenbox/app/listenrun.h"
#include "notecraft/player/fluidscoreplayer.h"
#include "scorefixture.h"

namespace listenbox {
namespace {

struct PlayerRun {
  int ExitCode = -1;
  bool Finished = false;
  QString Errors;
};

PlayerRun RunPlayer(const QStringList& arguments, const QString& audioDriver = QStringLiteral("none"),
              const QString& soundfont = QStringLiteral(LISTENBOX_TEST_SOUNDFONT)) {
  QProcess process;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("TONEGEN_AUDIO_DRIVER"), audioDriver);
  environment.insert(QStringLiteral("TONEGEN_SOUNDFONT"), soundfont);
  environment.remove(QStringLiteral("DISPLAY"));  // unattended needs no display
  environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
  environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
  process.setProcessEnvironment(environment);
  process.start(QStringLiteral(LISTENBOX_PROGRAM), arguments);
  PlayerRun run;
  run.Finished = process.waitForFinished(60'000);
  if (!run.Finished) process.kill();
  run.ExitCode = process.exitCode();
  run.Errors = QString::fromLocal8Bit(process.readAllStandardError());
  return run;
}

class UnattendedTest : public ::testing::Test {
protected:
  QString Path(const char* name) const { return m_folder.filePath(QString::fromLatin1(name)); }
  // A score of `bars` bars at `tempo`, saved under `name`.
  QString SaveScore(const char* name, int bars, int tempo, int program = 0) {
    notecraft::Score score;
    testing::FillBeats(score, bars, tempo, program);
    EXPECT_TRUE(score.SaveFile(Path(name).toStdString())) << score.LastFileError();
    return Path(name);
  }
  QTemporaryDir m_folder;
};

TEST_F(UnattendedTest, ExitCodesTellWhetherItPlayed) {
  const QString good = SaveScore("Rock 1.sty", 1, 255);
  QFile damaged(Path("damaged.sco"));
  ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
  QFile original(good);
  ASSERT_TRUE(original.open(QIODevice::ReadOnly));
  const QByteArray head = original.read(40);
  damaged.write(head);  // the header, then nothing
  damaged.close();
  // The header and directory, then random bytes for the rest of the file: a copy gone wrong.
  QFile noise(Path("noise.sco"));
  ASSERT_TRUE(noise.open(QIODevice::WriteOnly));
  noise.write(head);
  std::mt19937 random(40);
  for (qint64 i = head.size(); i < original.size(); ++i) {
    const char byte = static_cast<char>(random());
    noise.write(&byte, 1);
  }
  noise.close();

  const PlayerRun played = RunPlayer({good, QStringLiteral("/s")});
  EXPECT_TRUE(played.Finished);
  EXPECT_EQ(played.ExitCode, kExitPlayed) << played.Errors.toStdString();

  const PlayerRun upper = RunPlayer({QStringLiteral("/S"), good});
  EXPECT_EQ(upper.ExitCode, kExitPlayed) << upper.Errors.toStdString();

  for (const QString& bad : {Path("missing.sco"), Path("damaged.sco"), Path("noise.sco")}) {
    SCOPED_TRACE(bad.toStdString());
    const PlayerRun failed = RunPlayer({bad, QStringLiteral("/s")});
    EXPECT_TRUE(failed.Finished);
    EXPECT_EQ(failed.ExitCode, kExitNoFile);
    EXPECT_TRUE(failed.Errors.contains(QStringLiteral("cannot open"))) << failed.Errors.toStdString();
  }

  const PlayerRun noSound = RunPlayer({good, QStringLiteral("/s")}, QStringLiteral("none"),
                                Path("no-such-font.sf2"));
  EXPECT_EQ(noSound.ExitCode, kExitNoOutput);
  EXPECT_TRUE(noSound.Errors.contains(QStringLiteral("no sound output")))
      << noSound.Errors.toStdString();
}

// Mono levels of a 16-bit WAV file, and its sample rate.
struct Audio {
  std::vector<float> Samples;
  int Rate = 0;
};

Audio ReadWav(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  const QByteArray bytes = file.readAll();
  Audio audio;
  int channels = 1;
  qsizetype at = 12;
  while (at + 8 <= bytes.size()) {
    std::uint32_t size = 0;
    std::memcpy(&size, bytes.constData() + at + 4, 4);
    const QByteArray id = bytes.mid(at, 4);
    if (id == "fmt " && at + 16 <= bytes.size()) {
      std::uint16_t ch = 0;
      std::uint32_t rate = 0;
      std::memcpy(&ch, bytes.constData() + at + 10, 2);
      std::memcpy(&rate, bytes.constData() + at + 12, 4);
      channels = std::max<int>(ch, 1);
      audio.Rate = static_cast<int>(rate);
    } else if (id == "data") {
      const qsizetype end = std::min<qsizetype>(bytes.size(), at + 8 + size);
      for (qsizetype i = at + 8; i + 2 * channels <= end; i += 2 * channels) {
        std::int16_t v = 0;
        std::memcpy(&v, bytes.constData() + i, 2);
        audio.Samples.push_back(static_cast<float>(v) / 32768.0f);
      }
      return audio;
    }
    at += 8 + size + (size & 1);
  }
  return audio;
}

// Times (ms) where the level rises out of quiet: 4 ms windows, above a tenth of the
// loudest, after at least 100 ms below a 25th of it.
std::vector<double> Onsets(const Audio& audio) {
  const int window = std::max(audio.Rate / 250, 1);
  std::vector<double> levels;
  for (std::size_t i = 0; i + window <= audio.Samples.size(); i += window) {
    double sum = 0;
    for (int k = 0; k < window; ++k) sum += audio.Samples[i + k] * audio.Samples[i + k];
    levels.push_back(std::sqrt(sum / window));
  }
  double loudest = 0;
  for (double level : levels) loudest = std::max(loudest, level);
  std::vector<double> onsets;
  int quiet = 1000;
  for (std::size_t i = 0; i < levels.size(); ++i) {
    if (levels[i] > loudest / 10 && quiet >= 25) onsets.push_back(static_cast<double>(i) * 4.0);
    quiet = levels[i] < loudest / 25 ? quiet + 1 : 0;
  }
  return onsets;
}

TEST_F(UnattendedTest, TheNotesSoundOnTheBeat) {
  // Woodblock on each beat at 120: an onset every 500 ms.
  const QString score = SaveScore("beats.sco", 1, 120, 115);
  const QString wav = Path("out.wav");
  const PlayerRun run = RunPlayer({score, QStringLiteral("/s")}, QStringLiteral("file:") + wav);
  ASSERT_EQ(run.ExitCode, kExitPlayed) << run.Errors.toStdString();
  const Audio audio = ReadWav(wav);
  ASSERT_GT(audio.Rate, 0);
  const std::vector<double> onsets = Onsets(audio);
  ASSERT_EQ(onsets.size(), 4U) << ::testing::PrintToString(onsets);
  // The file driver takes notes in at the start of each 1024-frame period (21 ms at
  // 48 kHz), and its pacing wavers on a busy machine: about three periods either way.
  for (std::size_t i = 1; i < onsets.size(); ++i)
    EXPECT_NEAR(onsets[i] - onsets[i - 1], 500.0, 60.0) << i;
  EXPECT_NEAR(onsets.back() - onsets.front(), 1500.0, 60.0);
}

double PeakDb(const Audio& audio) {
  float peak = 0;
  for (const float v : audio.Samples) peak = std::max(peak, std::fabs(v));
  return peak > 0 ? 20.0 * std::log10(peak) : -200.0;
}

// The style editor's Listen: the score whole through the MIDI file player, on the same
// synthesizer, with the file audio driver.
Audio ListenTo(const QString& file, int lastsMs, const QString& wav) {
  notecraft::Score score;
  if (!score.OpenFile(file.toStdString())) return {};
  qputenv("TONEGEN_AUDIO_DRIVER", ("file:" + wav).toUtf8());
  notecraft::FluidScorePlayer::Install();
  const bool played = score.PlayScore();
  EXPECT_TRUE(played) << score.LastPlayError();
  if (played) QTest::qWait(lastsMs);
  score.PlayScore(true);
  notecraft::SetScorePlayerFactory({});
  qputenv("TONEGEN_AUDIO_DRIVER", "none");
  return ReadWav(wav);
}

TEST_F(UnattendedTest, PlaysAsLoudAsTheStyleEditorsListen) {
  // A piano on every beat of two bars, and an accented note: the player sounds the notes as
  // the editor does (volume 112 and the notes' own velocities), a few decibels from the
  // Listen's full volume, not a quarter of its level.
  notecraft::Score score;
  testing::FillBeats(score, 2, 120, 0);
  score.Staff(1)->Voice(1)->Notes().Add(4 * 16 + 8, 76, notecraft::durSixteenth,
                                        notecraft::nteAccent);
  const QString style = Path("Ballad.sty");
  ASSERT_TRUE(score.SaveFile(style.toStdString()));

  const QString playerWav = Path("player.wav");
  const PlayerRun run =
      RunPlayer({style, QStringLiteral("/s")}, QStringLiteral("file:") + playerWav);
  ASSERT_EQ(run.ExitCode, kExitPlayed) << run.Errors.toStdString();
  const double player = PeakDb(ReadWav(playerWav));
  const double listen = PeakDb(ListenTo(style, 2500, Path("listen.wav")));
  ASSERT_GT(listen, -60.0) << "the Listen is heard";
  RecordProperty("player_peak_dbfs", std::to_string(player));
  RecordProperty("listen_peak_dbfs", std::to_string(listen));
  EXPECT_GT(player, listen - 6.0) << "player " << player << " dBFS, listen " << listen << " dBFS";
  EXPECT_LT(player, listen + 1.0) << "player " << player << " dBFS, listen " << listen << " dBFS";
}

}  // namespace
}  // namespace listenbox
