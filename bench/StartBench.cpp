// Start-up of a hyper application of 50 frames against Qt Designer forms of the same content
// loaded by QUiLoader.
//
// The benchmark writes both projects into a temporary folder first: Start.dpr with one .dfm per
// frame (a title label with an effect, a hot text with its word list, a hot image and an image
// with embedded PNG pictures, labels, a button, a hot area, a wave player), and the same forms
// as .ui files with their pictures as PNG files beside them.
//
//   BM_LoadFramesInProcess  all frames read as mebrox-run reads them, against QUiLoader::load of
//                           every .ui file; widgets created, nothing shown
//   BM_WholeProcess         `mebrox-run --headless` with a script that does nothing, against a
//                           QApplication + QUiLoader process loading the same forms and showing
//                           the first (ui_start_peer)
//
// Both sides run in turn in every iteration. Each prints its min and median ("ours_min_ms",
// "ours_med_ms", "peer_min_ms", "peer_med_ms") and "ratio" = peer median / our median, so a
// ratio above 1 means Mebrox starts faster. In process the times are the process's processor
// time; for whole processes, the child's user + system time (and the wall time as "*_wall_ms").
// START_BENCH_FOLDER=DIR keeps the projects written in DIR, e.g. to profile one side alone.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPixmapCache>
#include <QTemporaryDir>
#include <QWidget>
#include <QtUiTools/QUiLoader>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "apps/run/Project.h"
#include "host/Mci.h"
#include "host/SysUtils.h"
#include "host/qt/QtBackend.h"
#include "runtime/Words.h"

extern char** environ;

namespace {

constexpr int FrameCount = 50;

std::string Num(int i) {
  return std::to_string(i);
}

// ---- the content, once for both formats

struct THotWord {
  std::string Word;
  int Code;  // the word action code
  std::string Data;
};

struct TFrameContent {
  int Index;  // 1-based
  std::string Title;
  std::vector<std::string> Lines;
  std::vector<THotWord> Words;
  std::string Picture;  // PNG bytes of the hot image
  std::string Icon;     // PNG bytes of the small image
  std::vector<std::string> Labels;
};

std::string FrameName(int i) {
  return "Form" + Num(i);
}

// A picture with gradients and shapes, different for every frame, compressing as a drawing does.
std::string MakePng(int width, int height, int seed) {
  QImage image(width, height, QImage::Format_ARGB32);
  QPainter p(&image);
  QLinearGradient sky(0, 0, 0, height);
  sky.setColorAt(0, QColor::fromHsv((seed * 37) % 360, 160, 250));
  sky.setColorAt(1, QColor::fromHsv((seed * 37 + 60) % 360, 200, 120));
  p.fillRect(image.rect(), sky);
  p.setRenderHint(QPainter::Antialiasing);
  for (int k = 0; k < 6; ++k) {
    p.setBrush(QColor::fromHsv((seed * 13 + k * 50) % 360, 180, 220));
    p.setPen(Qt::NoPen);
    int r = 8 + (seed * 7 + k * 11) % 24;
    p.drawEllipse(QPoint((seed * 17 + k * 29) % width, (seed * 5 + k * 23) % height), r, r);
  }
  p.end();
  QByteArray data;
  QBuffer buffer(&data);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return data.toStdString();
}

TFrameContent MakeFrame(int i) {
  TFrameContent f;
  f.Index = i;
  f.Title = "Frame " + Num(i) + " of the tour";
  int next = i % FrameCount + 1;
  int other = (i * 7) % FrameCount + 1;
  f.Lines = {
      "This is frame " + Num(i) + " of a tour through a hypertext of many frames.",
      "Point at a hot word: the pointer tells what it does.",
      "",
      "description - a yellow note on what this frame is about",
      "next frame - on to frame " + Num(next),
      "elsewhere - a jump to frame " + Num(other),
      "chime - a short wave sound",
      "go back - return to the frame you came from",
      "",
      "The picture below is a hot image: it sinks when pressed and shows a note.",
      "The labels beside it tell what each part of the frame is for.",
      "Words that are not hot are plain text and only wrap when the page is narrow.",
  };
  f.Words = {
      {"description", 0, "Frame " + Num(i) + ": words that lead somewhere."},
      {"next frame", 1, FrameName(next)},
      {"elsewhere", 1, FrameName(other)},
      {"chime", 2, "WavePlay1"},
      {"go back", 4, ""},
  };
  f.Picture = MakePng(136, 96, i);
  f.Icon = MakePng(40, 56, i + 100);
  f.Labels = {"Pictures", "Sounds of frame " + Num(i), "Where to go next"};
  return f;
}

// ---- the Mebrox project

std::string Quoted(const std::string& s) {
  std::string out = "'";
  for (char c : s) out += c == '\'' ? std::string("''") : std::string(1, c);
  return out + "'";
}

std::string Hex(const std::string& bytes, const std::string& indent) {
  static const char* digits = "0123456789ABCDEF";
  std::string out;
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (i % 32 == 0) out += "\n" + indent;
    auto c = static_cast<unsigned char>(bytes[i]);
    out += digits[c >> 4];
    out += digits[c & 15];
  }
  return out;
}

std::string StringList(const std::vector<std::string>& items) {
  std::string out = "(";
  for (size_t k = 0; k < items.size(); ++k)
    out += "\n      " + Quoted(items[k]) + (k + 1 == items.size() ? ")" : "");
  return out;
}

std::string Dfm(const TFrameContent& f) {
  std::string n = Num(f.Index);
  mebrox::TWords words;
  for (const THotWord& w : f.Words) words.NewWord(w.Word, Num(w.Code), w.Data);
  std::vector<std::string> entries;
  for (int k = 0; k < words.Count(); ++k) entries.push_back(words.Get(k));
  std::string labels;
  for (size_t k = 0; k < f.Labels.size(); ++k)
    labels += "  object Label" + Num(static_cast<int>(k) + 1) +
              ": TLabel\n"
              "    Left = 400\n"
              "    Top = " +
              Num(300 + static_cast<int>(k) * 28) +
              "\n"
              "    Caption = " +
              Quoted(f.Labels[k]) +
              "\n"
              "    Font.Height = -16\n"
              "    Font.Name = 'Arial'\n"
              "  end\n";
  return "object Form" + n + ": TForm" + n +
         "\n"
         "  Left = 200\n"
         "  Top = 120\n"
         "  Width = 640\n"
         "  Height = 480\n"
         "  BorderStyle = bsSingle\n"
         "  Caption = " +
         Quoted("Start - " + f.Title) +
         "\n"
         "  Color = clWhite\n"
         "  Position = poScreenCenter\n"
         "  object Title" +
         n +
         ": TfxLabel\n"
         "    Left = 24\n"
         "    Top = 16\n"
         "    Caption = " +
         Quoted(f.Title) +
         "\n"
         "    Font.Color = clTeal\n"
         "    Font.Height = -37\n"
         "    Font.Name = 'Arial'\n"
         "    Font.Style = [fsBold]\n"
         "    EffectType = etRaise\n"
         "  end\n"
         "  object HyperTxt1: THyperTxt\n"
         "    Left = 24\n"
         "    Top = 80\n"
         "    Width = 592\n"
         "    Height = 200\n"
         "    Font.Color = clBlack\n"
         "    Font.Height = -16\n"
         "    Font.Name = 'Times New Roman'\n"
         "    Font.Style = []\n"
         "    Lines.Strings = " +
         StringList(f.Lines) +
         "\n"
         "    Words.Strings = " +
         StringList(entries) +
         "\n"
         "    WordFont.Color = clNavy\n"
         "    WordFont.Height = -16\n"
         "    WordFont.Name = 'Times New Roman'\n"
         "    WordFont.Style = [fsBold, fsUnderline]\n"
         "  end\n"
         "  object HyperImage1: THyperImage\n"
         "    Left = 24\n"
         "    Top = 300\n"
         "    Width = 140\n"
         "    Height = 100\n"
         "    Action.ActionType = acDesc\n"
         "    Action.Desc = " +
         Quoted("A picture of frame " + n) +
         "\n"
         "    AllowShadow = True\n"
         "    CursorShow = True\n"
         "    Picture.Data = {" +
         Hex(f.Picture, "      ") +
         "}\n"
         "  end\n"
         "  object Image1: TImage\n"
         "    Left = 200\n"
         "    Top = 300\n"
         "    AutoSize = True\n"
         "    Picture.Data = {" +
         Hex(f.Icon, "      ") +
         "}\n"
         "  end\n" +
         labels +
         "  object Button1: TButton\n"
         "    Left = 520\n"
         "    Top = 400\n"
         "    Width = 90\n"
         "    Height = 28\n"
         "    Caption = 'Next'\n"
         "  end\n"
         "  object HyperArea1: THyperArea\n"
         "    Left = 200\n"
         "    Top = 300\n"
         "    Width = 40\n"
         "    Height = 56\n"
         "    Action.ActionType = acFrame\n"
         "    Action.Frame = " +
         Quoted(FrameName(f.Index % FrameCount + 1)) +
         "\n"
         "    CursorShow = True\n"
         "  end\n"
         "  object WavePlay1: TWavePlay\n"
         "    WaveName = 'chime.wav'\n"
         "  end\n"
         "end\n";
}

std::string Dpr(int frames) {
  std::string uses = "uses\n  Forms";
  std::string creates;
  for (int i = 1; i <= frames; ++i) {
    uses += ",\n  Unit" + Num(i) + " in 'Unit" + Num(i) + ".pas' {Form" + Num(i) + "}";
    creates += "  Application.CreateForm(TForm" + Num(i) + ", Form" + Num(i) + ");\n";
  }
  return "program Start;\n\n" + uses +
         ";\n\n{$R *.RES}\n\nbegin\n  Application.Initialize;\n"
         "  Application.Title := 'Start';\n" +
         creates + "  Application.Run;\nend.\n";
}

// ---- the same frames for Qt Designer

std::string Xml(const std::string& s) {
  std::string out;
  for (char c : s) {
    switch (c) {
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '&':
        out += "&amp;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string Geometry(int x, int y, int w, int h) {
  return "<property name=\"geometry\"><rect><x>" + Num(x) + "</x><y>" + Num(y) + "</y><width>" +
         Num(w) + "</width><height>" + Num(h) + "</height></rect></property>\n";
}

std::string Font(const std::string& family, int pixels, bool bold) {
  // .ui fonts are in points; the kit's heights are pixels at 96 dpi.
  return "<property name=\"font\"><font><family>" + family + "</family><pointsize>" +
         Num(pixels * 72 / 96) + "</pointsize>" + (bold ? "<bold>true</bold>" : "") +
         "</font></property>\n";
}

std::string StringProperty(const std::string& name, const std::string& value) {
  return "<property name=\"" + name + "\"><string>" + Xml(value) + "</string></property>\n";
}

std::string Widget(const std::string& cls, const std::string& name, const std::string& body) {
  return "<widget class=\"" + cls + "\" name=\"" + name + "\">\n" + body + "</widget>\n";
}

// The hot text as rich text: every hot word a link, in the word font.
std::string Html(const TFrameContent& f) {
  std::string html = "<html><body>";
  for (const std::string& line : f.Lines) {
    std::string out = line;
    for (const THotWord& w : f.Words) {
      size_t at = out.find(w.Word);
      if (at != 0) continue;  // hot words open their line in this content
      out = "<a href=\"#" + w.Data + "\" style=\"color:navy; font-weight:bold\">" + w.Word +
            "</a>" + out.substr(w.Word.size());
      break;
    }
    html += "<p>" + (out.empty() ? std::string("&nbsp;") : out) + "</p>";
  }
  return html + "</body></html>";
}

std::string Ui(const TFrameContent& f) {
  std::string n = Num(f.Index);
  std::string labels;
  for (size_t k = 0; k < f.Labels.size(); ++k)
    labels += Widget("QLabel", "Label" + Num(static_cast<int>(k) + 1),
                     Geometry(400, 300 + static_cast<int>(k) * 28, 200, 22) +
                         Font("Arial", 16, false) + StringProperty("text", f.Labels[k]));
  std::string body =
      Geometry(200, 120, 640, 480) + StringProperty("windowTitle", "Start - " + f.Title) +
      Widget(
          "QLabel", "Title" + n,
          Geometry(24, 16, 560, 48) + Font("Arial", 37, true) + StringProperty("text", f.Title)) +
      Widget("QTextBrowser", "HyperTxt1",
             Geometry(24, 80, 592, 200) + Font("Times New Roman", 16, false) +
                 StringProperty("html", Html(f))) +
      Widget("QLabel", "HyperImage1",
             Geometry(24, 300, 140, 100) + StringProperty("toolTip", "A picture of frame " + n) +
                 "<property name=\"cursor\"><cursorShape>PointingHandCursor</cursorShape>"
                 "</property>\n<property name=\"pixmap\"><pixmap>Picture" +
                 n + ".png</pixmap></property>\n") +
      Widget("QLabel", "Image1",
             Geometry(200, 300, 40, 56) + "<property name=\"pixmap\"><pixmap>Icon" + n +
                 ".png</pixmap></property>\n") +
      labels +
      Widget("QPushButton", "Button1",
             Geometry(520, 400, 90, 28) + StringProperty("text", "Next")) +
      Widget("QWidget", "HyperArea1",
             Geometry(200, 300, 40, 56) +
                 "<property name=\"cursor\"><cursorShape>PointingHandCursor</cursorShape>"
                 "</property>\n");
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ui version=\"4.0\">\n<class>" +
         FrameName(f.Index) + "</class>\n" + Widget("QWidget", FrameName(f.Index), body) +
         "</ui>\n";
}

std::string KeptFolder() {
  const char* folder = std::getenv("START_BENCH_FOLDER");
  if (!folder || !*folder) return {};
  QDir().mkpath(folder);
  return QDir(folder).absolutePath().toStdString();
}

// .ui files named to sort in frame order, for the peer program that loads a folder.
std::string UiName(int i) {
  char name[32];
  std::snprintf(name, sizeof name, "Unit%03d.ui", i);
  return name;
}

// In a temporary folder, or kept in $START_BENCH_FOLDER (created) to profile a run of it.
struct TStartProject {
  QTemporaryDir Dir;
  std::string Folder = KeptFolder().empty() ? Dir.path().toStdString() : KeptFolder();
  std::string ProjectFile = Folder + "/Start.dpr";
  std::string Script = Folder + "/nothing.txt";
  std::vector<QString> UiFiles;

  TStartProject() {
    host::WriteFileAtomically(ProjectFile, Dpr(FrameCount));
    host::WriteFileAtomically(Script, "# starts, shows the first frame and ends\n");
    for (int i = 1; i <= FrameCount; ++i) {
      TFrameContent f = MakeFrame(i);
      host::WriteFileAtomically(Folder + "/Unit" + Num(i) + ".dfm", Dfm(f));
      host::WriteFileAtomically(Folder + "/" + UiName(i), Ui(f));
      host::WriteFileAtomically(Folder + "/Picture" + Num(i) + ".png", f.Picture);
      host::WriteFileAtomically(Folder + "/Icon" + Num(i) + ".png", f.Icon);
      UiFiles.push_back(QString::fromStdString(Folder + "/" + UiName(i)));
    }
  }
};

TStartProject& Project() {
  static TStartProject project;
  return project;
}

// ---- measuring

double ProcessSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

double Min(const std::vector<double>& v) {
  return *std::min_element(v.begin(), v.end());
}

void Report(benchmark::State& state, const std::vector<double>& ours,
            const std::vector<double>& peer, const std::string& suffix = "") {
  if (ours.empty() || peer.empty()) return;
  state.counters["ours_min" + suffix + "_ms"] = Min(ours) * 1e3;
  state.counters["ours_med" + suffix + "_ms"] = Median(ours) * 1e3;
  state.counters["peer_min" + suffix + "_ms"] = Min(peer) * 1e3;
  state.counters["peer_med" + suffix + "_ms"] = Median(peer) * 1e3;
  if (suffix.empty()) state.counters["ratio"] = Median(peer) / Median(ours);
}

// ---- in process

void LoadOurs(const TStartProject& p) {
  mebrox::LoadProject(mebrox::ReadProjectFile(p.ProjectFile));
}

std::vector<std::unique_ptr<QWidget>> LoadPeer(const TStartProject& p) {
  QUiLoader loader;
  loader.setWorkingDirectory(QDir(QString::fromStdString(p.Folder)));
  std::vector<std::unique_ptr<QWidget>> forms;
  for (const QString& name : p.UiFiles) {
    QFile file(name);
    file.open(QIODevice::ReadOnly);
    forms.emplace_back(loader.load(&file));
  }
  return forms;
}

void BM_LoadFramesInProcess(benchmark::State& state) {
  TStartProject& p = Project();
  QString startDir = QDir::currentPath();
  std::vector<double> ours, peer;
  for (auto _ : state) {
    double t0 = ProcessSeconds();
    LoadOurs(p);
    double t1 = ProcessSeconds();
    auto forms = LoadPeer(p);
    double t2 = ProcessSeconds();
    if (host::Application->ComponentCount() != FrameCount || !forms.back()) {
      state.SkipWithError("a side did not load every frame");
      break;
    }
    state.PauseTiming();
    mebrox::UnloadProject();
    forms.clear();
    // A process starts with no picture decoded: Qt's file pixmaps would come from its cache.
    QPixmapCache::clear();
    state.ResumeTiming();
    ours.push_back(t1 - t0);
    peer.push_back(t2 - t1);
  }
  QDir::setCurrent(startDir);
  Report(state, ours, peer);
}
BENCHMARK(BM_LoadFramesInProcess)->Unit(benchmark::kMillisecond)->Iterations(40);

// ---- whole processes

struct TChildTimes {
  double Cpu = 0;
  double Wall = 0;
  bool Ok = false;
};

TChildTimes RunChild(const std::vector<std::string>& args, const std::vector<std::string>& env) {
  std::vector<char*> argv, envp;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  for (const std::string& e : env) envp.push_back(const_cast<char*>(e.c_str()));
  for (char** e = environ; *e; ++e) envp.push_back(*e);
  envp.push_back(nullptr);
  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  posix_spawn_file_actions_addopen(&files, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&files, 2, "/dev/null", O_WRONLY, 0);
  TChildTimes times;
  auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  int failed = posix_spawn(&pid, argv[0], &files, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&files);
  if (failed) return times;
  int status = 0;
  rusage usage{};
  if (wait4(pid, &status, 0, &usage) != pid) return times;
  times.Wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  auto seconds = [](const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6;
  };
  times.Cpu = seconds(usage.ru_utime) + seconds(usage.ru_stime);
  times.Ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return times;
}

void BM_WholeProcess(benchmark::State& state) {
  TStartProject& p = Project();
  std::vector<std::string> env = {"QT_QPA_PLATFORM=offscreen", "SDL_AUDIODRIVER=dummy",
                                  "MEBROX_WINDIR=" + p.Folder};
  std::vector<std::string> ours = {MEBROX_RUN, "--headless", "--script", p.Script, p.ProjectFile};
  std::vector<std::string> peer = {UI_START_PEER, p.Folder};
  std::vector<double> oursCpu, peerCpu, oursWall, peerWall;
  for (auto _ : state) {
    TChildTimes a = RunChild(ours, env);
    TChildTimes b = RunChild(peer, env);
    if (!a.Ok || !b.Ok) {
      state.SkipWithError(!a.Ok ? "mebrox-run failed" : "ui_start_peer failed");
      break;
    }
    oursCpu.push_back(a.Cpu);
    peerCpu.push_back(b.Cpu);
    oursWall.push_back(a.Wall);
    peerWall.push_back(b.Wall);
  }
  Report(state, oursCpu, peerCpu);
  Report(state, oursWall, peerWall, "_wall");
  if (!oursWall.empty()) state.counters["ratio_wall"] = Median(peerWall) / Median(oursWall);
}
BENCHMARK(BM_WholeProcess)->Unit(benchmark::kMillisecond)->Iterations(20)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  ::setenv("SDL_AUDIODRIVER", "dummy", 0);
  QApplication app(argc, argv);
  host::qt::InstallQtBackend(/*scriptedDialogs=*/true);
  mebrox::RegisterProjectClasses();
  host::Mci().SetOutput(std::make_unique<host::TSilentAudioOutput>());
  ::setenv("MEBROX_WINDIR", Project().Folder.c_str(), 1);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
