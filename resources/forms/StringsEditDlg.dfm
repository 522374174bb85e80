object StringsEditDlg: TStringsEditDlg
  Left = 0
  Top = 0
  Width = 430
  Height = 290
  ActiveControl = Memo
  BorderStyle = bsDialog
  Caption = 'String List Editor'
  Font.Name = 'MS Sans Serif'
  Position = poScreenCenter
  object Bevel1: TBevel
    Left = 8
    Top = 8
    Width = 414
    Height = 238
    Shape = bsFrame
  end
  object LineCount: TLabel
    Left = 16
    Top = 14
    Width = 200
    Height = 16
    Caption = '0 lines'
  end
  object Memo: TMemo
    Left = 16
    Top = 34
    Width = 398
    Height = 202
    ScrollBars = ssBoth
    TabOrder = 0
  end
  object OKBtn: TBitBtn
    Left = 250
    Top = 256
    Width = 82
    Height = 27
    TabOrder = 1
    Kind = bkOK
  end
  object CancelBtn: TBitBtn
    Left = 340
    Top = 256
    Width = 82
    Height = 27
    TabOrder = 2
    Kind = bkCancel
  end
end
