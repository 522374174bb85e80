#include "apps/studio/StudioHelp.h"

#include <map>

namespace mebrox::studio {

namespace {

const std::map<std::string, const char*>& Purposes() {
  static const std::map<std::string, const char*> purposes = {
      {"THyperTxt",
       "Hot text: a page of text whose hot words show a frame, play a wave, run a program, pop up "
       "a note or switch the page"},
      {"THyperImage",
       "Hot image: a picture that carries out its action when clicked (show a frame, play a "
       "wave, run a program ...)"},
      {"THyperArea",
       "Hot area: an invisible region, over a picture say, that carries out its action when "
       "clicked"},
      {"TWavePlay",
       "Wave player: plays a wave sound, by itself when the frame opens or when an action asks"},
      {"TWavePause",
       "Pause button: pauses the frame's playing wave, and a second click resumes it"},
      {"TfxLabel", "Effects label: a caption drawn raised, sunken or with a shadow"},
      {"TBookMark",
       "Bookmark: a picture that shows when the reader left a mark; a click offers to go back "
       "there"},
      {"TProjCtrl",
       "Project control: counts the project's frames and hot components; double-click it to "
       "manage the project"},
      {"TLabel", "Label: text on the frame, a line or several"},
      {"TImage", "Image: a picture that only shows"},
      {"TPanel", "Panel: a raised box that holds other controls"},
      {"TShape", "Shape: a rectangle, ellipse or other figure, filled and outlined"},
      {"TSpeedButton", "Speed button: a small flat button with a picture"},
      {"TBevel", "Bevel: a sunken or raised line or frame that groups what is on the frame"},
  };
  return purposes;
}

// "Class.Property" for a line that fits one class and its descendants, "Property" for any.
const std::map<std::string, const char*>& PropertyLines() {
  static const std::map<std::string, const char*> lines = {
      // Every control
      {"Name", "The component's name, by which actions and hot words find it"},
      {"Left", "Distance in pixels from the left edge of the frame (or container)"},
      {"Top", "Distance in pixels from the top edge of the frame (or container)"},
      {"Width", "Width in pixels"},
      {"Height", "Height in pixels"},
      {"Align", "Keeps the control at an edge of its container, or filling it"},
      {"Visible", "Whether the control shows when the application runs"},
      {"Enabled", "Whether the control reacts to the pointer and the keys"},
      {"Cursor", "The pointer shown over the control (0: the usual arrow)"},
      {"Hint", "Text that pops up when the pointer rests on the control"},
      {"Tag", "A number of the designer's own; the kit does not use it"},
      {"PopupMenu", "The menu a right click on the control shows"},
      {"Color", "Colour of the background"},
      {"Font", "Typeface, size, style and colour of the text"},
      {"Caption", "The text the control shows"},
      {"TabOrder", "Position in the order the Tab key goes through the controls"},
      {"TabStop", "Whether the Tab key stops at the control"},
      {"Transparent", "Lets what lies behind show through the background"},
      {"AutoSize", "Sizes the control to fit its contents"},
      {"Alignment", "Where the text lies: left, right or centred"},
      {"WordWrap", "Breaks text that is too long into more lines"},
      {"Layout", "Where the text lies from top to bottom"},
      {"ShowAccelChar", "Shows a letter after & underlined, as a key that selects it"},
      {"FocusControl",
       "The control that takes the keys when the label's underlined letter is typed"},
      {"About", "Who made the component and what it is; ... opens the About box"},
      {"Picture", "The picture shown; ... loads, saves or clears it"},
      {"Stretch", "Scales the picture to the control's size"},
      {"Center", "Centres the picture in the control"},
      {"Brush", "Colour and pattern of the background"},
      {"Pen", "Colour, width and style of the outline"},
      {"Shape", "The figure drawn: rectangle, ellipse, rounded rectangle ..."},
      {"BevelInner", "Inner edge of the border: raised, lowered or none"},
      {"BevelOuter", "Outer edge of the border: raised, lowered or none"},
      {"Style", "The kind of drawing"},
      {"Glyph", "The picture on the button"},
      {"NumGlyphs", "How many pictures, side by side, the glyph holds (up, disabled, down ...)"},
      {"Flat", "Draws the button without a border until the pointer is over it"},
      {"Down", "Whether the button shows pressed"},
      {"GroupIndex", "Buttons with the same number act as one group: one of them is down"},
      {"AllowAllUp", "Lets every button of the group be up at once"},
      {"Margin", "Space in pixels between the edge and the picture (-1: centred)"},
      {"Spacing", "Space in pixels between the picture and the text"},
      // Frames
      {"TForm.Caption", "The frame's title, shown on its window's title bar"},
      {"TForm.Left", "Distance in pixels of the frame's window from the left of the screen"},
      {"TForm.Top", "Distance in pixels of the frame's window from the top of the screen"},
      {"TForm.Width", "Width in pixels of the frame's inside"},
      {"TForm.Height", "Height in pixels of the frame's inside"},
      {"TForm.Visible", "Whether the frame shows when the application starts"},
      {"ActiveControl", "The control that has the keys when the frame shows"},
      {"BorderIcons", "The buttons of the frame's title bar"},
      {"biSystemMenu", "The close box and the window menu"},
      {"biMinimize", "The button that minimises the frame"},
      {"biMaximize", "The button that maximises the frame"},
      {"biHelp", "The help button"},
      {"BorderStyle", "The frame's border: sizeable, single, dialog or none"},
      {"KeyPreview", "The frame sees the keys before its controls do"},
      {"Position", "Where the frame's window opens: where designed, or centred on the screen"},
      {"WindowState", "Whether the frame opens normal, minimised or maximised"},
      // Fonts, brushes, pens
      {"TFont.Color", "Colour of the letters"},
      {"TFont.Height", "Height of the letters in pixels (negative: without the leading)"},
      {"TFont.Name", "The typeface"},
      {"TFont.Size", "Size of the letters in points"},
      {"TFont.Style", "Bold, italic, underlined, struck out"},
      {"TFont.Pitch", "Fixed or variable width letters, when the typeface offers both"},
      {"TFont.Charset", "The character set of the typeface"},
      {"fsBold", "Bold letters"},
      {"fsItalic", "Slanted letters"},
      {"fsUnderline", "Underlined letters"},
      {"fsStrikeOut", "Letters struck through"},
      {"TBrush.Color", "Colour of the fill"},
      {"TBrush.Style", "Pattern of the fill: solid, hatched, or clear"},
      {"TPen.Color", "Colour of the line"},
      {"TPen.Style", "Solid, dashed, dotted or no line"},
      {"TPen.Width", "Width of the line in pixels"},
      {"TPen.Mode", "How the line mixes with what lies under it"},
      {"TPicture.Data", "The picture file's own bytes, kept with the frame"},
      // Actions of hot images and hot areas
      {"Action", "What a click does; ... opens the Action Definition wizard"},
      {"TAction.ActionType",
       "The kind of action: show a frame, run a program, play a wave, a note, a bookmark, close"},
      {"TAction.Frame", "The frame a click shows (acFrame)"},
      {"TAction.FileToRun", "The program or document a click starts (acExecute)"},
      {"TAction.WorkDir", "The folder the program starts in (acExecute)"},
      {"TAction.Param", "What the program is given on its command line (acExecute)"},
      {"TAction.WaveComp", "The wave player on this frame that a click plays (acWavePlay)"},
      {"TAction.Desc", "The note a click pops up (acDesc)"},
      {"CursorShow", "Shows the hand pointer over it, so that the reader sees it can be clicked"},
      {"AllowShadow", "Draws a shadow under the picture and fits the control to the picture"},
      // Hot text
      {"AutoAdjust", "Makes the control grow to its text: wider, taller, both or not at all"},
      {"Lines", "The page's text; ... opens the editor"},
      {"LinesLists", "Text files the page can switch to; ... lists them"},
      {"LinesListsIndex", "Which of LinesLists the page starts with (0: its own Lines)"},
      {"TabWidth", "How many spaces a tab in the text stands for"},
      {"Words", "The hot words and what each does; ... picks them from the text"},
      {"WordsLists", "Word-list files the hot words can switch to; ... lists them"},
      {"WordsListsIndex", "Which of WordsLists the page starts with (0: its own Words)"},
      {"WordFont", "Typeface, size, style and colour of the hot words"},
      // Wave player
      {"ShowError", "Shows a message when the wave cannot be played"},
      {"Options", "When the wave plays: by itself as the frame opens, and whether to wait for it"},
      {"wvWaitTillDone", "Waits until the wave has ended before anything else happens"},
      {"wvDefault", "Plays the usual way"},
      {"wvAutoPlay", "Plays by itself when the frame is created"},
      {"WaveName", "The wave file played; ... picks one"},
      {"TWavePlay.WorkDir", "The folder of the wave file (empty: the project's folder)"},
      // Effects label
      {"EffectType", "The effect drawn: raised, sunken, shadowed ..."},
      {"ShadowDistance", "How far in pixels the shadow lies from the text"},
      {"ShadowColor", "Colour of the shadow"},
      {"LightColor", "Colour of the light edge of a raised or sunken caption"},
  };
  return lines;
}

}  // namespace

QString ComponentPurpose(const host::TClassInfo& cls) {
  auto it = Purposes().find(cls.Name());
  if (it != Purposes().end()) return QString::fromUtf8(it->second);
  std::string name = cls.Name();
  if (name.size() > 1 && name[0] == 'T') name.erase(0, 1);
  return QString::fromStdString(name);
}

QString PropertyPurpose(const host::TClassInfo& owner, const std::string& name) {
  const auto& lines = PropertyLines();
  for (const host::TClassInfo* cls = &owner; cls; cls = cls->Parent())
    if (auto it = lines.find(cls->Name() + "." + name); it != lines.end())
      return QString::fromUtf8(it->second);
  auto it = lines.find(name);
  return it == lines.end() ? QString() : QString::fromUtf8(it->second);
}

}  // namespace mebrox::studio
