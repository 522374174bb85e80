object PictureEditorDlg: TPictureEditorDlg
  Left = 0
  Top = 0
  Width = 460
  Height = 330
  BorderStyle = bsDialog
  Caption = 'Picture Editor'
  Font.Name = 'MS Sans Serif'
  Position = poScreenCenter
  object Panel1: TPanel
    Left = 8
    Top = 8
    Width = 340
    Height = 260
    BevelOuter = bvLowered
    Color = clWindow
    object Image1: TImage
      Left = 2
      Top = 2
      Width = 336
      Height = 256
      Center = True
    end
  end
  object Info: TLabel
    Left = 8
    Top = 276
    Width = 340
    Height = 42
    AutoSize = False
    Caption = '(None)'
    WordWrap = True
  end
  object LoadBtn: TBitBtn
    Left = 360
    Top = 8
    Width = 92
    Height = 27
    Hint = 'Load a picture from a file'
    Caption = '&Load...'
    TabOrder = 0
  end
  object SaveBtn: TBitBtn
    Left = 360
    Top = 42
    Width = 92
    Height = 27
    Hint = 'Save the picture to a file, as it is stored'
    Caption = '&Save...'
    TabOrder = 1
  end
  object ClearBtn: TBitBtn
    Left = 360
    Top = 76
    Width = 92
    Height = 27
    Hint = 'Take the picture away'
    Caption = '&Clear'
    TabOrder = 2
  end
  object OKBtn: TBitBtn
    Left = 360
    Top = 258
    Width = 92
    Height = 27
    TabOrder = 3
    Kind = bkOK
  end
  object CancelBtn: TBitBtn
    Left = 360
    Top = 292
    Width = 92
    Height = 27
    TabOrder = 4
    Kind = bkCancel
  end
end
