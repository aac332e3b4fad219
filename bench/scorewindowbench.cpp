// scorewindowbench: times the score window's own Save and Print on a large score, as a user
// runs them, and prints one JSON line.
//
//   scorewindowbench [gen:MEASURES:STAVES | FILE] [--pages N] [--dir DIR]
//
// The score (default gen:4000:16) is written to DIR/bench.sco and opened in a score window;
// then the toolbar's Last goes to the last page while the layout has just begun ("last_ms",
// from page "last_from" laid out to "last_page"), the window's File > Save writes it again
// ("save_ms") and File > Print prints pages 1..N (default 100) into DIR/bench.pdf
// ("print_ms"). Runs on Qt's offscreen platform unless QT_QPA_PLATFORM says otherwise.
//
// Exit status: 0 on success, 1 when a step fails, 2 for a wrong command line.
#include <QApplication>
#include <QDir>
#include <QPrinter>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

#include "Veltrimond/child/chdvltmain.h"
#include "Veltrimond/child/chdvltmain_menus.h"
#include "Veltrimond/child/chdvltmain_toolbar.h"
#include "Veltrimond/shell/appcontext.h"
#include "Veltrimond/tests/nullframe.h"
#include "notecraft/core/score.h"
#include "notecraft/qt/musicfontloader.h"
#include "scoregen.h"

namespace {

double MillisecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

int Fail(const char* what) {
  std::fprintf(stderr, "scorewindowbench: %s\n", what);
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  std::string source = "gen:4000:16";
  int pages = 100;
  QString dir;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--pages" && i + 1 < argc) {
      pages = std::atoi(argv[++i]);
    } else if (arg == "--dir" && i + 1 < argc) {
      dir = QString::fromLocal8Bit(argv[++i]);
    } else if (!arg.empty() && arg[0] != '-') {
      source = arg;
    } else {
      std::fprintf(stderr, "usage: scorewindowbench [gen:M:S | FILE] [--pages N] [--dir DIR]\n");
      return 2;
    }
  }
  if (pages < 1) return Fail("--pages needs a number above 0");
  QTemporaryDir temporary;
  if (dir.isEmpty()) dir = temporary.path();
  if (!QDir().mkpath(dir)) return Fail("the folder cannot be made");
  notecraft::LoadMusicFont();

  const QString path = QDir(dir).filePath(QStringLiteral("bench.sco"));
  QString opened = QString::fromStdString(source);
  if (const auto spec = scoregen::ParseGenName(source)) {
    const auto score = scoregen::GenerateScore(spec->measures, spec->staves);
    if (!score->SaveFile(path.toStdString())) return Fail("the generated score cannot be saved");
    opened = path;
  }

  veltrimond::AppContext context;
  veltrimond::testing::NullFrame frame;  // the window's frame, doing nothing
  veltrimond::chdVLTMain window(context, frame);
  window.resize(1000, 800);
  if (!window.OpenFile(opened)) return Fail("the score cannot be opened");
  window.show();
  QCoreApplication::processEvents();
  veltrimond::ScoreMenus& menus = *window.MenuCommands();
  notecraft::Score& score = window.Score();

  // The toolbar's Last while the background layout has just begun: every page is laid out
  // first.
  const int laidOut = score.LastPage();
  auto start = std::chrono::steady_clock::now();
  window.Toolbar()->ButtonClick(QStringLiteral("Last"));
  const double lastMs = MillisecondsSince(start);
  if (score.CurPage() != score.LastPage() || score.Paginating()) return Fail("Last failed");
  const int lastPage = score.LastPage();

  // Save writes the score's own file, in its own format, without a dialog.
  score.SetChanged(true);
  start = std::chrono::steady_clock::now();
  if (!menus.FileSave()) return Fail("Save failed");
  const double saveMs = MillisecondsSince(start);

  QPrinter& printer = menus.Printer();
  printer.setOutputFormat(QPrinter::PdfFormat);
  const QString pdf = QDir(dir).filePath(QStringLiteral("bench.pdf"));
  printer.setOutputFileName(pdf);
  int offered = 0;
  menus.Printing().SetPrintPrompt([&](QPrinter&, const veltrimond::PrintRangeOffer& offer) {
    offered = offer.Max;
    return std::optional<veltrimond::PrintChoice>(veltrimond::PrintChoice{true, 1, pages});
  });
  start = std::chrono::steady_clock::now();
  if (!menus.FilePrint()) return Fail("Print failed");
  const double printMs = MillisecondsSince(start);
  const auto span = menus.Printing().LastRange();

  std::printf(
      "{\"source\":\"%s\",\"staves\":%d,\"pages\":%d,\"printed\":%d,\"last_from\":%d,"
      "\"last_page\":%d,\"last_ms\":%.1f,\"save_ms\":%.1f,\"print_ms\":%.1f}\n",
      source.c_str(), score.Staffs(), offered, span.To - span.From + 1, laidOut, lastPage, lastMs,
      saveMs, printMs);
  return 0;
}
