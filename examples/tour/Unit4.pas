unit Unit4;

interface

uses
  SysUtils, WinTypes, WinProcs, Messages, Classes, Graphics, Controls,
  StdCtrls, ExtCtrls, Forms, HyperTxt, fxLbl, Bookmark, WavePly, HyperImg, Hyprarea, WavePaus;

type
  TForm4 = class(TForm)
    Title4: TfxLabel;
    HyperTxt1: THyperTxt;
    HyperImage1: THyperImage;
    Image1: TImage;
    HyperArea1: THyperArea;
    WavePause1: TWavePause;
    fxLabel1: TfxLabel;
    fxLabel2: TfxLabel;
    fxLabel3: TfxLabel;
    fxLabel4: TfxLabel;
    fxLabel5: TfxLabel;
    fxLabel6: TfxLabel;
    fxLabel7: TfxLabel;
    WavePlay1: TWavePlay;
  end;

var
  Form4: TForm4;

implementation

{$R *.DFM}

end.
