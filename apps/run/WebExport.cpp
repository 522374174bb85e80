#include "apps/run/WebExport.h"

#include "apps/run/WebFonts.h"

#include <cstdio>
#include <filesystem>
#include <map>
#include <set>
#include <string_view>

#include "host/Buttons.h"
#include "host/Canvas.h"
#include "host/ExtCtrls.h"
#include "host/Graphics.h"
#include "host/Resources.h"
#include "host/StdCtrls.h"
#include "host/SysUtils.h"
#include "runtime/Bookmark.h"
#include "runtime/HyperImg.h"
#include "runtime/HyperTxt.h"
#include "runtime/Hyprarea.h"
#include "runtime/WavePaus.h"
#include "runtime/WavePly.h"
#include "runtime/fxLbl.h"

namespace mebrox {

namespace fs = std::filesystem;
using host::TColor;
using host::TControl;
using host::TFont;
using host::TForm;

const TWebFile* TWebSite::Find(const std::string& path) const {
  for (const TWebFile& f : Files)
    if (f.Path == path) return &f;
  return nullptr;
}

namespace {

// Measures as the screen does and keeps what would be drawn, where, without drawing it.
class TRecordingSurface : public host::TCanvasSurface {
 public:
  std::vector<TLaidText> Texts;

  void TextOut(int x, int y, const std::string& text, const TFont&) override {
    Texts.push_back({x + Origin().X, y + Origin().Y, text});
  }
  host::TSize TextExtent(const std::string& text, const TFont& font) override {
    return host::MeasureSurface().TextExtent(text, font);
  }
  void FillRect(const host::TRect&, const host::TBrush&) override {}
  void FrameRect(const host::TRect&, const host::TPen&) override {}
  void Line(host::TPoint, host::TPoint, const host::TPen&) override {}
  void Ellipse(const host::TRect&, const host::TBrush&, const host::TPen&) override {}
  void RoundRect(const host::TRect&, int, int, const host::TBrush&, const host::TPen&) override {}
  void DrawImage(const host::TRect&, const host::TRawImage&) override {}
  const void* ShapeKey() const override { return host::MeasureSurface().ShapeKey(); }
  std::unique_ptr<host::TShapedText> ShapeText(const std::string& text,
                                               const TFont& font) override {
    return host::MeasureSurface().ShapeText(text, font);
  }
  void DrawShaped(int x, int y, const host::TShapedText& text, const TFont& font) override {
    TextOut(x, y, text.Text(), font);
  }
};

std::string Escape(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&#39;";
        break;
      // As references, so that the page's parser hands a description's line breaks back as
      // they were, CR LF and all.
      case '\r':
        out += "&#13;";
        break;
      case '\n':
        out += "&#10;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string Px(int value) {
  return std::to_string(value) + "px";
}

std::string Css(TColor color) {
  uint32_t bgr = host::ColorToRGB(color);
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", bgr & 0xFF, (bgr >> 8) & 0xFF,
                (bgr >> 16) & 0xFF);
  return text;
}

std::string FontCss(const TFont& font, const std::string& family) {
  std::string css = "font-family:" + family +
                    ";font-size:" + Px(std::max(1, std::abs(font.Height()))) +
                    ";color:" + Css(font.Color());
  css += font.Style().Contains(host::fsBold) ? ";font-weight:bold" : ";font-weight:normal";
  css += font.Style().Contains(host::fsItalic) ? ";font-style:italic" : ";font-style:normal";
  std::string lines;
  if (font.Style().Contains(host::fsUnderline)) lines += " underline";
  if (font.Style().Contains(host::fsStrikeOut)) lines += " line-through";
  css += ";text-decoration:" + (lines.empty() ? std::string("none") : lines.substr(1));
  return css + ";";
}

std::string Bounds(const TControl& c) {
  return "left:" + Px(c.Left()) + ";top:" + Px(c.Top()) + ";width:" + Px(c.Width()) +
         ";height:" + Px(c.Height()) + ";";
}

std::string Attribute(const std::string& name, const std::string& value) {
  return " " + name + "=\"" + Escape(value) + "\"";
}

bool IsProgram(const fs::path& path) {
  std::error_code ec;
  fs::perms p = fs::status(path, ec).permissions();
  if (!ec && (p & (fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec)) !=
                 fs::perms::none)
    return true;
  std::string head;
  try {
    head = host::ReadFileBytes(path.string()).substr(0, 4);
  } catch (const std::exception&) {
    return false;
  }
  return head.starts_with("#!") || head == "\177ELF";
}

std::string Slashed(std::string path) {
  for (char& c : path)
    if (c == '\\') c = '/';
  return path;
}

class TSiteBuilder {
 public:
  TSiteBuilder(const TLoadedProject& project, TWebSite& site) : FProject(project), FSite(site) {}

  void Build() {
    std::string frames;
    for (const TFrameInfo& frame : FProject.Frames())
      if (frame.Form) frames += Frame(frame);
    const host::TProjectFile& p = FProject.Project();
    std::string title = p.Title.empty() ? p.ProgramName : p.Title;
    std::string fonts = FFonts.StyleSheet();
    std::string main;
    for (const TFrameInfo& frame : FProject.Frames())
      if (frame.Form) {
        main = frame.Name;
        break;
      }
    std::string html =
        "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
        "<meta name=\"generator\" content=\"mebrox-run --export-html\">\n"
        "<title>" +
        Escape(title) + "</title>\n" +
        (fonts.empty() ? "" : "<link rel=\"stylesheet\" href=\"fonts.css\">\n") +
        "<link rel=\"stylesheet\" href=\"mebrox.css\">\n"
        "<script src=\"mebrox.js\" defer></script>\n</head>\n<body" +
        Attribute("data-project", p.ProgramName) + Attribute("data-title", title) +
        Attribute("data-main", main) + ">\n<main id=\"mx-app\">\n" + frames + "</main>\n" +
        "<p id=\"mx-ended\" hidden>The application has ended. <a href=\"index.html\">Start it "
        "again</a></p>\n"
        "<p id=\"mx-sound-hint\" hidden role=\"status\">Click anywhere to let the sound "
        "play.</p>\n</body>\n</html>\n";
    FSite.Files.insert(FSite.Files.begin(), {"index.html", html});
    FSite.Files.push_back({"mebrox.js", WebScript()});
    FSite.Files.push_back({"mebrox.css", WebStyleSheet()});
    if (!fonts.empty()) {
      FSite.Files.push_back({"fonts.css", fonts});
      FSite.Files.push_back({"fonts-LICENSE.txt", FFonts.Licence()});
    }
  }

 private:
  std::string Font(const TFont& font) { return FontCss(font, FFonts.Family(font)); }

  void Warn(const TFrameInfo& frame, int line, const std::string& subject,
            const std::string& problem) {
    // A text laid out once per page it can show would tell the same thing again.
    std::string text = TFinding{TSeverity::Warning, frame.File, line, subject, problem}.Text();
    if (FWarned.insert(text).second) FSite.Warnings.push_back(text);
  }

  std::string Frame(const TFrameInfo& info) {
    TForm& form = *info.Form;
    std::string out =
        "<section class=\"mx-frame\"" + Attribute("id", info.Name) +
        Attribute("data-name", info.Name) + Attribute("data-class", form.ClassName()) +
        Attribute("data-caption", form.Caption()) + Attribute("aria-label", form.Caption()) +
        " hidden style=\"width:" + Px(form.Width()) + ";height:" + Px(form.Height()) +
        ";background:" + Css(form.Color()) + ";\">\n";
    out += Children(info, form);
    for (host::TComponent* c : form.ComponentList())
      if (auto* player = dynamic_cast<TWavePlay*>(c)) out += Player(info, *player);
    return out + "</section>\n";
  }

  std::string Children(const TFrameInfo& info, host::TWinControl& parent) {
    std::string out;
    for (int i = 0; i < parent.ControlCount(); ++i) out += Control(info, *parent.Controls(i));
    return out;
  }

  std::string Open(const char* tag, const char* kind, const TControl& c, const std::string& style,
                   const std::string& more = {}) {
    return std::string("<") + tag + " class=\"" + kind + "\"" + Attribute("data-name", c.Name()) +
           (c.Visible() ? "" : " hidden") + (c.Hint().empty() ? "" : Attribute("title", c.Hint())) +
           more + " style=\"" + Bounds(c) + style + "\">";
  }

  std::string Control(const TFrameInfo& info, TControl& c) {
    if (auto* t = dynamic_cast<THyperTxt*>(&c)) return HotText(info, *t);
    if (auto* b = dynamic_cast<TBookMark*>(&c)) {
      // Whether it shows is the reader's own bookmark, kept by the browser.
      std::string src = Picture(info, c, b->Picture());
      return "<a href=\"#\" class=\"mx-bookmark mx-act\"" + Attribute("data-name", c.Name()) +
             Attribute("aria-label", c.Hint().empty() ? "Continue where you left" : c.Hint()) +
             " hidden style=\"" + Bounds(c) + "\">" +
             (src.empty() ? "" : "<img alt=\"\"" + Attribute("src", src) + ">") + "</a>\n";
    }
    if (auto* img = dynamic_cast<THyperImage*>(&c)) return HotImage(info, *img);
    if (auto* area = dynamic_cast<THyperArea*>(&c)) {
      return Open("a", "mx-harea mx-act", c, "",
                  " href=\"#\"" + ActionAttributes(info, c, area->Action()) +
                      Attribute("aria-label",
                                c.Hint().empty() ? ActionName(area->Action()) : c.Hint()) +
                      (area->CursorShow() ? "" : " data-plain-cursor")) +
             "</a>\n";
    }
    if (auto* fx = dynamic_cast<TfxLabel*>(&c)) return Label(*fx, TextShadow(*fx));
    if (auto* label = dynamic_cast<host::TLabel*>(&c)) return Label(*label, "");
    if (dynamic_cast<TWavePause*>(&c))
      return Open("button", "mx-wavepause", c, "", " type=\"button\" aria-label=\"Pause\"") +
             "</button>\n";
    if (auto* image = dynamic_cast<host::TImage*>(&c)) {
      std::string src = Picture(info, c, image->Picture());
      std::string fit = image->Stretch() ? "width:100%;height:100%;" : "";
      return Open("div", "mx-image", c, "") +
             (src.empty()
                  ? ""
                  : "<img alt=\"\"" + Attribute("src", src) + Attribute("style", fit) + ">") +
             "</div>\n";
    }
    std::string inner;
    if (auto* w = dynamic_cast<host::TWinControl*>(&c)) inner = Children(info, *w);
    return Open("div", "mx-control", c, "background:" + Css(c.Color()) + ";") + inner + "</div>\n";
  }

  std::string Label(host::TLabel& label, const std::string& shadow) {
    const char* align[] = {"left", "right", "center"};
    std::string style = Font(label.Font()) + "text-align:" + align[label.Alignment()] + ";" +
                        (label.WordWrap() ? "white-space:pre-wrap;" : "white-space:pre;") +
                        (label.Transparent() ? "" : "background:" + Css(label.Color()) + ";") +
                        (shadow.empty() ? "" : "text-shadow:" + shadow + ";");
    return Open("div", "mx-label", label, style) + Escape(label.Caption()) + "</div>\n";
  }

  // The layers the label draws under its caption, the first drawn lowest: CSS paints the
  // first shadow on top, so the list goes the other way round.
  static std::string TextShadow(TfxLabel& label) {
    std::vector<std::string> layers;
    auto layer = [&](int dx, int dy, TColor color) {
      layers.push_back(Px(dx) + " " + Px(dy) + " 0 " + Css(color));
    };
    TColor s = label.ShadowColor(), l = label.LightColor();
    int d = label.ShadowDistance();
    switch (label.EffectType()) {
      case etCustom:
      case etShadow:
      case etHighShadow:
        layer(d, d, s);
        break;
      case etDeepSink:
        layer(1, 1, l);
        layer(2, 0, l);
        layer(-1, -1, s);
        layer(-2, 0, s);
        break;
      case etRaise:
        layer(1, 1, s);
        layer(-1, -1, l);
        break;
      case etHighRaise:
        layer(1, 1, s);
        layer(2, 2, s);
        layer(-1, -1, l);
        layer(-2, -2, l);
        break;
      case etSink:
        layer(-d, -d, s);
        layer(d, d, l);
        break;
    }
    std::string css;
    for (auto it = layers.rbegin(); it != layers.rend(); ++it)
      css += (css.empty() ? "" : ", ") + *it;
    return css;
  }

  std::string Picture(const TFrameInfo& info, const TControl& c, const host::TPicture& picture) {
    if (picture.Empty()) return {};
    std::string bytes = picture.Data();
    if (!bytes.starts_with("\x89PNG")) {
      const auto& image = picture.Image();
      if (!image || !host::ImageCodec()) return {};
      bytes = host::ImageCodec()->EncodePng(*image);
    }
    std::string path = "pictures/" + info.Name + "." + c.Name() + ".png";
    FSite.Files.push_back({path, bytes});
    return path;
  }

  std::string HotImage(const TFrameInfo& info, THyperImage& image) {
    std::string src = Picture(info, image, image.Picture());
    bool shadow = image.AllowShadow() && !image.Stretch();
    std::string pw = Px(image.Picture().Width()), ph = Px(image.Picture().Height());
    std::string size =
        image.Stretch() ? "width:100%;height:100%;" : "width:" + pw + ";height:" + ph + ";";
    std::string label = image.Hint().empty() ? ActionName(image.Action()) : image.Hint();
    std::string out =
        Open("a", "mx-himage mx-act", image,
             "background:" + Css(image.Parent() ? image.Parent()->Color() : image.Color()) + ";",
             " href=\"#\"" + ActionAttributes(info, image, image.Action()) +
                 Attribute("aria-label", label) + (shadow ? " data-shadow" : ""));
    if (shadow)
      out += "<span class=\"mx-shadow\" style=\"left:" + Px(THyperImage::ShadowOffset) +
             ";top:" + Px(THyperImage::ShadowOffset) + ";" + size + "\"></span>";
    if (!src.empty())
      out += "<img alt=\"\"" + Attribute("src", src) + Attribute("style", size) + ">";
    return out + "</a>\n";
  }

  static std::string ActionName(const TAction& action) {
    switch (action.ActionType()) {
      case acFrame:
        return "Go to " + action.Frame();
      case acExecute:
        return "Open " + action.FileToRun();
      case acWavePlay:
        return "Play " + action.WaveComp();
      case acDesc:
        return "Show a note";
      case acBookMark:
        return "Leave with a bookmark";
      case acClose:
        return "Go back";
      case acNone:
        break;
    }
    return "Picture";
  }

  std::string ActionAttributes(const TFrameInfo& info, const TControl& c, const TAction& action) {
    std::string out = Attribute("data-action", ActionAttrsNames()[action.ActionType()]);
    switch (action.ActionType()) {
      case acFrame:
        return out + Attribute("data-frame", action.Frame());
      case acWavePlay:
        return out + Attribute("data-wave", action.WaveComp());
      case acDesc:
        return out + Attribute("data-desc", action.Desc());
      case acExecute:
        return out + Document(info, c.Name() + ".Action.FileToRun",
                              info.Lines.Property(c.Name(), "Action.FileToRun"), action.FileToRun(),
                              action.WorkDir());
      default:
        return out;
    }
  }

  // A document of the project opens in the browser; a program cannot run there, so its link
  // is disabled with a note saying so.
  std::string Document(const TFrameInfo& info, const std::string& subject, int line,
                       const std::string& file, const std::string& workDir) {
    fs::path folder = FProject.Folder();
    fs::path base = workDir.empty() ? folder : fs::path(Slashed(workDir));
    if (base.is_relative()) base = folder / base;
    fs::path path = (base / Slashed(file)).lexically_normal();
    const std::string relative = host::PathWithin(path.string(), folder.string());
    const bool inside = !relative.empty();
    std::error_code ec;
    if (!file.empty() && inside && fs::is_regular_file(path, ec) && !IsProgram(path)) {
      std::string target = "files/" + relative;
      if (!FCopied.count(target)) {
        FCopied.insert(target);
        FSite.Files.push_back({target, host::ReadFileBytes(path.string())});
      }
      return Attribute("data-href", target);
    }
    std::string why = file + (inside ? " is a program, which a browser cannot run"
                                     : " lies outside the project, which a browser cannot open");
    if (file.empty() || (inside && !fs::exists(path, ec)))
      why = "there is no document " + file + " in the project to open";
    Warn(info, line, subject, why + ": it shows disabled");
    return " data-disabled" + Attribute("title", "A web page cannot run " + file);
  }

  std::string Player(const TFrameInfo& info, TWavePlay& player) {
    std::string out = "<audio preload=\"auto\"" + Attribute("data-name", player.Name());
    if (player.Options().Contains(wvAutoPlay)) out += " data-autoplay";
    if (!player.GetWaveName().empty()) {
      fs::path base = player.GetWorkDir().empty() ? fs::path(FProject.Folder())
                                                  : fs::path(Slashed(player.GetWorkDir()));
      fs::path path = (base / Slashed(player.GetWaveName())).lexically_normal();
      std::error_code ec;
      if (fs::is_regular_file(path, ec)) {
        std::string target = "sounds/" + path.filename().string();
        auto [it, fresh] = FSounds.emplace(path.string(), target);
        if (fresh) {
          for (int n = 2; FCopied.count(it->second); ++n)
            it->second = "sounds/" + path.stem().string() + "-" + std::to_string(n) +
                         path.extension().string();
          FCopied.insert(it->second);
          FSite.Files.push_back({it->second, host::ReadFileBytes(path.string())});
        }
        out += Attribute("src", it->second) + Attribute("data-file", player.GetWaveName());
      }
      // A sound that is not there the check has told of: the page plays nothing, as the
      // desktop does.
    }
    return out + "></audio>\n";
  }

  std::string HotText(const TFrameInfo& info, THyperTxt& text) {
    // The page loaded with the frame, then each one a Switch Lines word can load. A hot text
    // that sizes itself to its text takes the size of the first when it is laid out.
    std::string pages = Page(info, text, "start", true);
    std::string out = Open("div", "mx-hypertxt", text,
                           text.Brush().Style() == host::bsClear
                               ? std::string()
                               : "background:" + Css(text.Brush().Color()) + ";",
                           Attribute("data-index", std::to_string(text.LinesListsIndex())));
    for (int k = 0; k < text.LinesLists().Count(); ++k) {
      try {
        text.LinesLists().SetListIndex(k);
        text.SetLines(text.LinesLists().CurrentList());
      } catch (const std::exception& e) {
        Warn(info, info.Lines.Item(text.Name(), "LinesLists", k), text.Name() + ".LinesLists",
             std::string(e.what()) + ": a word that switches to it does nothing");
        continue;
      }
      pages += Page(info, text, std::to_string(k), false);
    }
    return out + pages + "</div>\n";
  }

  std::string Page(const TFrameInfo& info, THyperTxt& text, const std::string& name, bool shown) {
    std::vector<TLaidText> pieces = LayOutHotText(text);
    std::string plainFont = Font(text.Font()), wordFont = Font(text.WordFont());
    std::string out = "<div class=\"mx-page\"" + Attribute("data-page", name) +
                      (shown ? "" : " hidden") +
                      Attribute("data-width", std::to_string(text.Width())) +
                      Attribute("data-height", std::to_string(text.Height())) +
                      Attribute("style", plainFont) + ">";
    std::vector<bool> hot(pieces.size(), false);
    std::vector<std::string> slots;
    for (int i = 0; i < text.SlotCount(); ++i) {
      const TWordPos& slot = text.WordPos(i);
      if (slot.Right <= slot.Left) continue;
      std::string shownText;
      for (size_t p = 0; p < pieces.size(); ++p)
        if (pieces[p].Y == slot.Top && pieces[p].X >= slot.Left && pieces[p].X < slot.Right) {
          hot[p] = true;
          shownText += pieces[p].Text;
        }
      int entry = text.FindEntry(slot.Word);
      std::string code = entry < 0 ? "-1" : text.Words().GetWordActType(entry);
      std::string act = entry < 0 ? "" : text.Words().GetWordAct(entry);
      while (!code.empty() && code.back() == ' ') code.pop_back();
      std::string more;
      if (code == "3")
        more = Document(info, text.Name() + ".Words", info.Lines.Item(text.Name(), "Words", entry),
                        act, "");
      slots.push_back("<a href=\"#\" class=\"mx-word mx-act\"" + Attribute("data-word", slot.Word) +
                      Attribute("data-code", code) + Attribute("data-act", act) + more +
                      (slot.Continued ? " data-continued" : "") + " style=\"left:" + Px(slot.Left) +
                      ";top:" + Px(slot.Top) + ";width:" + Px(slot.Right - slot.Left) +
                      ";height:" + Px(slot.Bottom - slot.Top) + ";" + wordFont + "\">" +
                      Escape(shownText) + "</a>");
    }
    // Plain text, a run per line between hot words; hot words follow in reading order, so that
    // Tab goes through them as the desktop does.
    for (size_t p = 0; p < pieces.size();) {
      if (hot[p]) {
        ++p;
        continue;
      }
      std::string run = pieces[p].Text;
      size_t q = p + 1;
      while (q < pieces.size() && !hot[q] && pieces[q].Y == pieces[p].Y) run += pieces[q++].Text;
      if (run.find_first_not_of(' ') != std::string::npos)
        out += "<span style=\"left:" + Px(pieces[p].X) + ";top:" + Px(pieces[p].Y) + "\">" +
               Escape(run) + "</span>";
      p = q;
    }
    for (const std::string& s : slots) out += s;
    return out + "</div>";
  }

  const TLoadedProject& FProject;
  TWebSite& FSite;
  std::set<std::string> FCopied;
  std::set<std::string> FWarned;
  TWebFonts FFonts;
  std::map<std::string, std::string> FSounds;  // wave file to its place in the site
};

}  // namespace

std::vector<TLaidText> LayOutHotText(THyperTxt& text) {
  TRecordingSurface surface;
  text.PaintOn(surface);
  return std::move(surface.Texts);
}

TPublishFindings WeighFindings(const TLoadedProject& project, const TProjectReport& report) {
  TPublishFindings weighed;
  for (TFinding f : report.Findings) {
    if (f.Severity == TSeverity::Warning) {
      weighed.Warnings.push_back(f);
      continue;
    }
    size_t dot = f.Subject.find('.');
    std::string property = dot == std::string::npos ? "" : f.Subject.substr(dot + 1);
    bool sound = false;
    if (property == "WaveName" || property == "WorkDir")
      for (const TFrameInfo& frame : project.Frames())
        if (frame.File == f.File && frame.Form)
          sound = dynamic_cast<TWavePlay*>(frame.Form->FindComponent(f.Subject.substr(0, dot)));
    if (sound) {
      f.Severity = TSeverity::Warning;
      weighed.Warnings.push_back(f);
    } else {
      weighed.Errors.push_back(f);
    }
  }
  return weighed;
}

TWebSite BuildWebSite(const TLoadedProject& project) {
  TWebSite site;
  TSiteBuilder(project, site).Build();
  return site;
}

}  // namespace mebrox
