unit Unit2;

interface

uses
  SysUtils, WinTypes, WinProcs, Messages, Classes, Graphics, Controls,
  StdCtrls, ExtCtrls, Forms, HyperTxt, fxLbl, Bookmark, WavePly, HyperImg, Hyprarea, WavePaus;

type
  TForm2 = class(TForm)
    Title2: TfxLabel;
    HyperTxt1: THyperTxt;
  end;

var
  Form2: TForm2;

implementation

{$R *.DFM}

end.
