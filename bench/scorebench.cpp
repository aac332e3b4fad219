// scorebench: opens a score, lays out every page, paints every page, writes what is asked,
// and prints one JSON line of counts and timings. A developer tool for measuring the engine
// on real and generated scores.
//
//   scorebench FILE [--pdf OUT.pdf] [--png DIR] [--save OUT] [--midi OUT.mid]
//
// FILE is a score file, or gen:MEASURES:STAVES for a generated score (bench/scoregen.h).
// Pages are laid out and painted on the engine's recording surface, or, with --png, on the
// QPainter page buffer whose pages are then saved as DIR/page-0001.png and on; --pdf prints
// every page into OUT.pdf through the score's own printing (Score::PrintScore on a QPrinter
// writing PDF), as a user's print does, and reports the pages the file holds (pdf_pages).
// Times are milliseconds of wall clock; peak memory is the process's maximum resident size.
//
// Exit status: 0 on success, 1 when a step fails (the message says which), 2 for a wrong
// command line.
#include <sys/resource.h>

#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <iterator>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <QGuiApplication>
#include <QImage>
#include <QPrinter>
#include <QString>

#include "notecraft/core/allocator.h"
#include "notecraft/core/internal.h"
#include "notecraft/core/region.h"
#include "notecraft/core/score.h"
#include "notecraft/core/voice.h"
#include "notecraft/qt/musicfontloader.h"
#include "notecraft/qt/qpaintersurface.h"
#include "notecraft/qt/qprintertarget.h"
#include "notecraft/view/recordingsurface.h"
#include "scoregen.h"

namespace {

using namespace notecraft;
using Clock = std::chrono::steady_clock;

struct Options {
  std::string File;
  std::optional<std::string> Pdf, Png, Save, Midi;
};

class Failure : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

const char* const kUsage =
    "usage: scorebench FILE [--pdf OUT.pdf] [--png DIR] [--save OUT] [--midi OUT.mid]\n"
    "  FILE  a score file, or gen:MEASURES:STAVES for a generated score\n";

std::optional<Options> ParseArgs(int argc, char** argv, std::string& error) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    std::optional<std::string>* target = nullptr;
    if (arg == "--pdf") target = &options.Pdf;
    else if (arg == "--png") target = &options.Png;
    else if (arg == "--save") target = &options.Save;
    else if (arg == "--midi") target = &options.Midi;
    if (target) {
      if (i + 1 >= argc || std::string(argv[i + 1]).empty()) {
        error = arg + " needs a path";
        return std::nullopt;
      }
      *target = argv[++i];
    } else if (arg.rfind("--", 0) == 0) {
      error = "unknown option " + arg;
      return std::nullopt;
    } else if (options.File.empty()) {
      options.File = arg;
    } else {
      error = "more than one FILE: " + arg;
      return std::nullopt;
    }
  }
  if (options.File.empty()) {
    error = "no FILE given";
    return std::nullopt;
  }
  return options;
}

double Milliseconds(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}

// Times a step and keeps its milliseconds in the report.
class Steps {
public:
  double Run(const std::string& name, const std::function<void()>& step) {
    const auto start = Clock::now();
    step();
    const double ms = Milliseconds(start, Clock::now());
    m_steps.emplace_back(name, ms);
    return ms;
  }
  const std::vector<std::pair<std::string, double>>& All() const { return m_steps; }

private:
  std::vector<std::pair<std::string, double>> m_steps;
};

std::unique_ptr<Score> Open(const std::string& file) {
  if (auto spec = scoregen::ParseGenName(file)) return scoregen::GenerateScore(spec->measures, spec->staves);
  if (file.rfind("gen:", 0) == 0)
    throw Failure("bad generated score name \"" + file + "\" (gen:MEASURES:STAVES, 1..100000 measures, 1..85 staves)");
  if (!std::filesystem::exists(file)) throw Failure("no such file: " + file);
  auto score = std::make_unique<Score>();
  score->CreateDefault();
  if (!score->OpenFile(file)) throw Failure("cannot open " + file + ": " + score->LastFileError());
  return score;
}

// Lays out every page at once, as the layout timer would one page per tick.
void Paginate(Score& score) {
  score.RestartPagination(1);
  while (score.Paginating()) score.PaginateStep(Internal{});
}

// Makes page the one on the window and paints it.
void ShowPage(Score& score, int page) {
  if (score.CurPage() != page)
    score.SetCurPage(page);
  else
    score.PaintWindow();
}

int CountNotes(const Score& score) {
  int notes = 0;
  for (const auto& voice : score.AllVoices()) notes += voice->Notes().Count();
  return notes;
}

int CountSystems(const Score& score) {
  int systems = 0;
  for (const auto& band : score.Bands(Internal{})) systems += band->First() ? 1 : 0;
  return systems;
}

long PeakResidentKB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;  // kilobytes on Linux
}

std::string JsonString(const std::string& text) {
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char buffer[8];
      std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
      out += buffer;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string Number(double v) {
  std::ostringstream out;
  out.setf(std::ios::fixed);
  out.precision(3);
  out << v;
  return out.str();
}

void EnsureQt(std::unique_ptr<QGuiApplication>& app, int& argc, char** argv) {
  if (app) return;
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  app = std::make_unique<QGuiApplication>(argc, argv);
  if (!LoadMusicFont()) throw Failure("the music font Veltrimond cannot be loaded (is the install folder set?)");
}

// The pages a PDF file holds: the count of its page tree's root (the one Pages object Qt
// writes); 0 when there is none.
int PdfPageCount(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const std::string pdf((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::size_t pages = pdf.find("/Type /Pages");
  const std::size_t count = pages == std::string::npos ? pages : pdf.find("/Count ", pages);
  if (count == std::string::npos) return 0;
  return std::atoi(pdf.c_str() + count + 7);
}

// Prints every page to a PDF file as the editor's Print command does, and counts the pages
// written.
void WritePdf(Score& score, const std::string& path, int& pdfPages) {
  {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(path));
    printer.setDocName(QString::fromStdString(score.Title()));
    QPrinterTarget target(printer);
    if (!score.PrintScore(target)) throw Failure("cannot print to " + path);
  }
  pdfPages = PdfPageCount(path);
}

int Run(int argc, char** argv) {
  std::string error;
  const auto options = ParseArgs(argc, argv, error);
  if (!options) {
    std::cerr << "scorebench: " << error << '\n' << kUsage;
    return 2;
  }
  std::unique_ptr<QGuiApplication> app;
  if (options->Pdf || options->Png) EnsureQt(app, argc, argv);

  Steps steps;
  std::unique_ptr<Score> score;
  steps.Run("open", [&] { score = Open(options->File); });

  RecordingSurface recording;
  std::unique_ptr<QPainterSurface> buffer;
  Surface* window = &recording;
  if (options->Png) {
    std::filesystem::create_directories(*options->Png);
    buffer = std::make_unique<QPainterSurface>(score->PageWidthTwips(), score->PageHeightTwips());
    window = buffer.get();
  }
  steps.Run("attach", [&] { score->SetWindow(window); });
  recording.ClearRecord();

  const double layoutMs = steps.Run("layout", [&] { Paginate(*score); });
  const int pages = score->LastPage();
  int systems = 0;
  double pngMs = 0;
  double paintMs = 0;
  for (int page = 1; page <= pages; ++page) {
    const auto start = Clock::now();
    ShowPage(*score, page);
    paintMs += Milliseconds(start, Clock::now());
    systems += CountSystems(*score);
    recording.ClearRecord();
    if (buffer) {
      const auto saving = Clock::now();
      char name[32];
      std::snprintf(name, sizeof name, "page-%04d.png", page);
      const auto file = std::filesystem::path(*options->Png) / name;
      if (!buffer->Image() || !buffer->Image()->save(QString::fromStdString(file.string())))
        throw Failure("cannot write " + file.string());
      pngMs += Milliseconds(saving, Clock::now());
    }
  }

  std::vector<std::pair<std::string, double>> report = steps.All();
  report.emplace_back("paint", paintMs);
  if (options->Png) report.emplace_back("png", pngMs);

  int pdfPages = 0;
  if (options->Pdf) {
    const auto start = Clock::now();
    WritePdf(*score, *options->Pdf, pdfPages);
    report.emplace_back("pdf", Milliseconds(start, Clock::now()));
  }
  score->SetWindow(nullptr);
  if (options->Save) {
    const auto start = Clock::now();
    if (!score->SaveFile(*options->Save))
      throw Failure("cannot save " + *options->Save + ": " + score->LastFileError());
    report.emplace_back("save", Milliseconds(start, Clock::now()));
  }
  if (options->Midi) {
    const auto start = Clock::now();
    if (!score->WriteMIDIFile(*options->Midi)) throw Failure("cannot write the MIDI file " + *options->Midi);
    report.emplace_back("midi", Milliseconds(start, Clock::now()));
  }

  std::ostringstream json;
  json << "{\"file\":" << JsonString(options->File) << ",\"surface\":\""
       << (buffer ? "qpainter" : "recording") << "\",\"pages\":" << pages
       << ",\"systems\":" << systems << ",\"notes\":" << CountNotes(*score)
       << ",\"staves\":" << score->Staffs();
  if (options->Pdf) json << ",\"pdf_pages\":" << pdfPages;
  json << ",\"ms\":{";
  for (std::size_t i = 0; i < report.size(); ++i)
    json << (i ? "," : "") << JsonString(report[i].first) << ":" << Number(report[i].second);
  json << "},\"ms_per_page\":{\"layout\":" << Number(pages ? layoutMs / pages : 0)
       << ",\"paint\":" << Number(pages ? paintMs / pages : 0) << "}"
       << ",\"peak_rss_kb\":" << PeakResidentKB() << "}";
  std::cout << json.str() << std::endl;
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  notecraft::TuneAllocator();  // as a program opening large scores should, before it allocates
  try {
    return Run(argc, argv);
  } catch (const std::exception& e) {
    std::cerr << "scorebench: " << e.what() << '\n';
  } catch (...) {
    std::cerr << "scorebench: an unknown error\n";
  }
  return 1;
}
