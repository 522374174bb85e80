unit Unit3;

interface

uses
  SysUtils, WinTypes, WinProcs, Messages, Classes, Graphics, Controls,
  StdCtrls, ExtCtrls, Forms, HyperTxt, fxLbl, Bookmark, WavePly, HyperImg, Hyprarea, WavePaus;

type
  TForm3 = class(TForm)
    Title3: TfxLabel;
    HyperTxt1: THyperTxt;
    Image1: TImage;
    HyperArea1: THyperArea;
  end;

var
  Form3: TForm3;

implementation

{$R *.DFM}

end.
