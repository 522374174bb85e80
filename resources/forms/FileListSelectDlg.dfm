object FileListSelectDlg: TFileListSelectDlg
  Left = 0
  Top = 0
  Width = 360
  Height = 244
  ActiveControl = ListBox1
  BorderStyle = bsDialog
  Caption = 'Dialog'
  Font.Name = 'MS Sans Serif'
  Position = poScreenCenter
  object Bevel1: TBevel
    Left = 8
    Top = 8
    Width = 344
    Height = 228
    Shape = bsFrame
  end
  object ListBox1: TListBox
    Left = 16
    Top = 16
    Width = 224
    Height = 212
    TabOrder = 0
  end
  object BitBtn1: TBitBtn
    Left = 252
    Top = 16
    Width = 92
    Height = 25
    Caption = 'Select Files'
    TabOrder = 1
  end
  object BitBtn3: TBitBtn
    Left = 252
    Top = 48
    Width = 92
    Height = 25
    Caption = 'Add File'
    TabOrder = 2
  end
  object BitBtn2: TBitBtn
    Left = 252
    Top = 80
    Width = 92
    Height = 25
    Caption = 'Delete'
    TabOrder = 3
  end
  object CancelBtn: TBitBtn
    Left = 252
    Top = 171
    Width = 92
    Height = 25
    Hint = 'Cancel chanes'
    TabOrder = 4
    Kind = bkCancel
  end
  object OKBtn: TBitBtn
    Left = 252
    Top = 203
    Width = 92
    Height = 25
    Hint = 'Accept changes'
    TabOrder = 5
    Kind = bkOK
  end
  object OpenDialog1: TOpenDialog
    Options = [ofHideReadOnly, ofPathMustExist, ofFileMustExist, ofCreatePrompt]
    Title = 'Hot Words Lists File Selection'
    Left = 16
    Top = 200
  end
end
