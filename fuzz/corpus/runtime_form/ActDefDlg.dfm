object ActDefDlg: TActDefDlg
  Left = 0
  Top = 0
  Width = 325
  Height = 223
  ActiveControl = cbActionsList
  BorderStyle = bsDialog
  Caption = 'Action Definition'
  Font.Name = 'MS Sans Serif'
  Position = poScreenCenter
  object Sample: TPaintBox
    Left = 8
    Top = 12
    Width = 92
    Height = 73
  end
  object Notebook: TNotebook
    Left = 108
    Top = 8
    Width = 209
    Height = 170
    PageIndex = 0
    TabOrder = 0
    object TPage
      Caption = 'Select'
      object Label1: TLabel
        Left = 8
        Top = 8
        Width = 120
        Height = 13
        Caption = 'Select an action:'
      end
      object cbActionsList: TComboBox
        Left = 8
        Top = 26
        Width = 190
        Height = 21
        Items.Strings = (
          'MultMedia Frame'
          'Execute a program'
          'Play an Audio'
          'Short Description'
          'BookMark'
          'Close'
          'None')
        TabOrder = 0
        Style = csDropDownList
      end
    end
    object TPage
      Caption = 'New Frame'
      object Label2: TLabel
        Left = 8
        Top = 8
        Width = 120
        Height = 13
        Caption = 'What to include'
      end
      object cbPicture: TCheckBox
        Left = 16
        Top = 30
        Width = 120
        Height = 17
        Caption = 'Picture'
        TabOrder = 0
      end
      object cbAudio: TCheckBox
        Left = 16
        Top = 54
        Width = 120
        Height = 17
        Caption = 'Audio'
        TabOrder = 1
      end
    end
    object TPage
      Caption = 'Existing Frame'
      object Label3: TLabel
        Left = 8
        Top = 8
        Width = 120
        Height = 13
        Caption = 'Existing frame'
      end
      object cbFrameList: TComboBox
        Left = 8
        Top = 26
        Width = 190
        Height = 21
        TabOrder = 0
        Style = csDropDownList
      end
      object Label4: TLabel
        Left = 8
        Top = 60
        Width = 20
        Height = 13
        Caption = 'Or'
      end
      object bbNewFrame: TBitBtn
        Left = 8
        Top = 80
        Width = 90
        Height = 25
        Caption = 'New Frame'
        TabOrder = 1
      end
    end
    object TPage
      Caption = 'Execute'
      object Label5: TLabel
        Left = 8
        Top = 4
        Width = 120
        Height = 13
        Caption = 'Program name'
      end
      object txFileName: TEdit
        Left = 8
        Top = 20
        Width = 164
        Height = 21
        TabOrder = 0
      end
      object SpeedButton1: TSpeedButton
        Left = 176
        Top = 20
        Width = 22
        Height = 21
        Caption = '...'
      end
      object Label6: TLabel
        Left = 8
        Top = 50
        Width = 120
        Height = 13
        Caption = 'Working Dirctory'
      end
      object txWorkDir: TEdit
        Left = 8
        Top = 66
        Width = 190
        Height = 21
        TabOrder = 1
      end
      object Label7: TLabel
        Left = 8
        Top = 96
        Width = 120
        Height = 13
        Caption = 'Parameters'
      end
      object txParam: TEdit
        Left = 8
        Top = 112
        Width = 190
        Height = 21
        TabOrder = 2
      end
    end
    object TPage
      Caption = 'Play Wave'
      object Label8: TLabel
        Left = 8
        Top = 8
        Width = 160
        Height = 13
        Caption = 'Select an audio component'
      end
      object cbWaveList: TComboBox
        Left = 8
        Top = 26
        Width = 190
        Height = 21
        TabOrder = 0
        Style = csDropDownList
      end
      object bbPlayWave: TBitBtn
        Left = 8
        Top = 60
        Width = 75
        Height = 25
        Caption = 'Play'
        TabOrder = 1
      end
    end
    object TPage
      Caption = 'Desc'
      object Label9: TLabel
        Left = 8
        Top = 8
        Width = 160
        Height = 13
        Caption = 'Type a short description'
      end
      object txDesc: TEdit
        Left = 8
        Top = 26
        Width = 190
        Height = 21
        TabOrder = 0
      end
    end
  end
  object bbCancel: TBitBtn
    Left = 76
    Top = 190
    Width = 75
    Height = 25
    TabOrder = 3
    Kind = bkCancel
  end
  object PrevButton: TBitBtn
    Left = 158
    Top = 190
    Width = 75
    Height = 25
    Caption = '&Prev'
    TabOrder = 1
  end
  object NextButton: TBitBtn
    Left = 240
    Top = 190
    Width = 75
    Height = 25
    Caption = '&Next'
    Default = True
    TabOrder = 2
  end
  object OpenDialog1: TOpenDialog
    DefaultExt = 'EXE'
    Filter = '*.exe;*.bat|*.EXE;*.BAT|*.exe|*.EXE|*.bat|*.BAT'
    Options = [ofHideReadOnly, ofFileMustExist]
  end
end
