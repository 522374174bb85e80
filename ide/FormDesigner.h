#pragma once

#include <functional>
#include <string>
#include <vector>

#include "host/Forms.h"
#include "ide/DesignIntf.h"

namespace ide {

// The designer of one form: what is selected, and the designer's own changes: dropping
// components, moving and sizing them (with the pointer on a grid, or with the keyboard),
// deleting, copying and pasting them as form-file text, and their order. It receives the
// pointer on the form and all its windows (controls never see it while designed); every change
// it makes, and every change an editor reports, goes to the owner through Modified.
class TFormDesigner : public IDesigner, public host::IFormDesigner {
 public:
  // In core, for the project services' form (services null: a form of no project); modified:
  // told after every change of the form.
  TFormDesigner(host::TForm& form, TDesignCore& core, TIToolServices* services,
                std::function<void()> modified);
  ~TFormDesigner() override;
  TFormDesigner(const TFormDesigner&) = delete;
  TFormDesigner& operator=(const TFormDesigner&) = delete;

  void Modified() override;
  void NameStep(const std::string& name, const std::string& mergeKey) override;
  // The name and merge key given for the step being recorded (or "Change" and none), once.
  void TakeStepName(std::string& name, std::string& mergeKey);
  host::TForm* GetRoot() override { return &FForm; }
  TDesignCore& Core() override { return FCore; }
  TIToolServices* ToolServices() override { return FToolServices; }

  // The selected components, in the order they were selected; empty means the form itself.
  const std::vector<host::TComponent*>& Selection() const { return FSelection; }
  // Selects component alone (null: the form), or adds it to (or takes it out of) the selection.
  void Select(host::TComponent* component, bool toggle = false);
  void ClearSelection();
  bool IsSelected(const host::TComponent* component) const;
  host::TEvent<> OnSelectionChanged;

  // A new component of cls at a client point of the form: in the innermost container there,
  // named like "HyperTxt2", selected. Non-visual components keep the point as their position.
  host::TComponent* Drop(const host::TClassInfo& cls, host::TPoint at);
  void MoveSelection(int dx, int dy);
  void ResizeSelection(int dw, int dh);
  // Gives the selected control these bounds (one control selected).
  void SetSelectionBounds(const host::TRect& bounds);
  void DeleteSelection();
  // The selection as form-file text, and new components read from such text, placed on the
  // selected container (or the form) and selected.
  std::string CopySelection();
  std::vector<host::TComponent*> Paste(const std::string& text);
  void BringToFront();
  void SendToBack();

  // Positions snap to a grid of this many pixels while dragging (1: no grid).
  int GridSize() const { return FGridSize; }
  void SetGridSize(int size) { FGridSize = size < 1 ? 1 : size; }

  // The class the palette has chosen, or null: the next press on the form drops one there
  // instead of selecting. OnDropped tells the palette it was used.
  std::function<const host::TClassInfo*()> PaletteClass;
  std::function<void(host::TComponent&)> OnDropped;
  // Told while the pointer drags (moving, sizing, or a rubber band), so that marks follow it.
  std::function<void()> OnDragging;
  // The rubber band being drawn, in form coordinates; false when none.
  bool DraggedBand(host::TRect& band) const;

  // A line a dragged control lines up on with a sibling: an edge or centre they share.
  struct TGuide {
    bool Vertical = true;  // a line of constant x (else of constant y)
    int Position = 0;      // that x or y, in form coordinates
    int From = 0, To = 0;  // the span it is drawn over, across both controls
    friend bool operator==(const TGuide&, const TGuide&) = default;
  };
  // Where an edge or centre of the dragged selection meets one of a sibling's, the drag keeps to
  // it rather than the grid; the guides show those lines while dragging.
  static constexpr int GuideDistance = 5;
  const std::vector<TGuide>& Guides() const { return FGuides; }

  // Lines up the selected controls by the first one selected: their left or right edges, tops or
  // bottoms, horizontal or vertical centres, or gives them its width or height; or spaces them
  // evenly across or down between the outermost two.
  enum class TAlign { Left, Right, Top, Bottom, HCenter, VCenter, Width, Height, HSpace, VSpace };
  void AlignSelection(TAlign how);
  // "left", "hcenter", "hspace" ...; false for a word that is none.
  static bool AlignByName(const std::string& name, TAlign& how);

  // Called with the component the designer double-clicks (its editor's Edit runs there).
  std::function<void(host::TComponent&)> OnDblClick;
  // Called with a component and a client point for a right click (the context menu).
  std::function<void(host::TComponent&, host::TPoint)> OnContextMenu;

  bool HandleMouse(host::TForm& form, const host::TMouseEventRecord& event) override;
  // A designed component always has a name; the form's own new name is for OnRenamingForm.
  void ValidateRename(host::TComponent* component, const std::string& curName,
                      const std::string& newName) override;
  // Fails when the form may not take that name (another frame of the project has it).
  std::function<void(const std::string& newName)> OnRenamingForm;
  // Delete, Ctrl+arrows (move by a pixel), Shift+arrows (size by a pixel), Escape (select the
  // parent). True when taken.
  bool HandleKey(host::TKey key, host::TShiftState shift);

  // The eight sizing handles of a selected control, in form coordinates: 0 top-left, 1 top,
  // 2 top-right, 3 right, 4 bottom-right, 5 bottom, 6 bottom-left, 7 left.
  static constexpr int HandleSize = 6;
  static host::TRect HandleRect(const host::TRect& bounds, int handle);
  // A control's bounds in the form's client coordinates.
  host::TRect FormBounds(const host::TControl& control) const;
  // The topmost component at a client point of the form (the form itself when none).
  host::TComponent* ComponentAt(host::TPoint point) const;

  // Tells the designer that the form was rebuilt (undo): the selection is gone.
  void FormReloaded();

 private:
  enum class TDrag { None, Move, Size, Band };
  void SelectionChanged();
  bool HandleAt(host::TPoint point, host::TControl*& control, int& handle) const;
  int Snap(int value) const;

  host::TForm& FForm;
  TDesignCore& FCore;
  TIToolServices* FToolServices;
  std::function<void()> FModified;
  std::vector<host::TComponent*> FSelection;
  int FGridSize = 8;
  TDrag FDrag = TDrag::None;
  host::TPoint FDragStart;
  host::TPoint FDragPoint;
  int FDragHandle = -1;
  std::vector<host::TRect> FDragBounds;  // of the selected controls when the drag began
  bool FDragMoved = false;
  std::string FStepName, FStepKey;
  std::vector<TGuide> FGuides;
  // The move of a drag: dx and dy as the grid and the siblings' lines have it.
  host::TPoint GuidedMove(int dx, int dy);
  // What the selection is called in step names: "HyperTxt1", or "3 components".
  std::string SelectionName() const;
  void Step(const std::string& verb, const std::string& mergeKey = {});
  host::TComponent* FClicked = nullptr;  // pressed without Shift, to select alone if not moved
};

// The name a designer gives a new component of className on form: the class name without its
// T, numbered from 1 ("HyperTxt2" when HyperTxt1 is taken).
std::string NewComponentName(const host::TComponent& form, const std::string& className);

}  // namespace ide
