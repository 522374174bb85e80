object AboutBoxDlg: TAboutBoxDlg
  Left = 0
  Top = 0
  Width = 272
  Height = 256
  ActiveControl = OKButton
  BorderStyle = bsDialog
  Caption = 'About'
  Font.Name = 'MS Sans Serif'
  Position = poScreenCenter
  object Panel1: TPanel
    Left = 8
    Top = 8
    Width = 256
    Height = 200
    BevelInner = bvLowered
    BevelOuter = bvRaised
    object ProgramIcon: TImage
      Left = 12
      Top = 12
      Width = 65
      Height = 65
      Stretch = True
    end
    object ProductName: TLabel
      Left = 92
      Top = 20
      Width = 100
      Height = 16
      Caption = 'Sorvane Tools'
      Font.Height = -13
      Font.Name = 'MS Sans Serif'
      Font.Style = [fsBold]
    end
    object Version: TLabel
      Left = 92
      Top = 48
      Width = 60
      Height = 13
      Caption = 'Version 1.5'
    end
    object Comments: TLabel
      Left = 12
      Top = 100
      Width = 232
      Height = 52
      AutoSize = False
      Caption = 
        'These are a set of tools that enable the designer to create an ap' +
        'plication without coding.'
      WordWrap = True
    end
  end
  object OKButton: TBitBtn
    Left = 98
    Top = 220
    Width = 75
    Height = 25
    TabOrder = 1
    Kind = bkOK
  end
end
