object MsgDlg: TMsgDlg
  Left = 0
  Top = 0
  Width = 132
  Height = 139
  BorderStyle = bsNone
  Color = clYellow
  Position = poScreenCenter
  object Shape1: TShape
    Left = 0
    Top = 0
    Width = 102
    Height = 97
    Brush.Color = clYellow
  end
  object MsgLbl: TLabel
    Left = 0
    Top = 0
    Width = 101
    Height = 19
    Caption = 'Empty Caption'
    Font.Color = clBlack
    Font.Height = -16
    Font.Name = 'Times New Roman'
    Font.Style = [fsBold, fsItalic]
    Transparent = True
  end
end
