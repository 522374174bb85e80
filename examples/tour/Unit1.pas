unit Unit1;

interface

uses
  SysUtils, WinTypes, WinProcs, Messages, Classes, Graphics, Controls,
  StdCtrls, ExtCtrls, Forms, HyperTxt, fxLbl, Bookmark, WavePly, HyperImg, Hyprarea, WavePaus;

type
  TForm1 = class(TForm)
    Title1: TfxLabel;
    HyperTxt1: THyperTxt;
    Bookmark1: TBookMark;
    WavePlay1: TWavePlay;
  end;

var
  Form1: TForm1;

implementation

{$R *.DFM}

end.
