object SoundRecorderDlg: TSoundRecorderDlg
  Left = 0
  Top = 0
  Width = 420
  Height = 114
  BorderStyle = bsDialog
  Caption = 'Sound Recorder'
  Font.Name = 'MS Sans Serif'
  Position = poScreenCenter
  object Bevel1: TBevel
    Left = 8
    Top = 8
    Width = 404
    Height = 60
    Shape = bsFrame
  end
  object StatusLabel: TLabel
    Left = 16
    Top = 16
    Width = 388
    Height = 16
    AutoSize = False
    Caption = 'Ready to record'
    Font.Height = -13
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsBold]
  end
  object LevelMeter: TPaintBox
    Left = 16
    Top = 40
    Width = 388
    Height = 18
  end
  object RecordBtn: TBitBtn
    Left = 8
    Top = 80
    Width = 75
    Height = 25
    Caption = '&Record'
    TabOrder = 0
  end
  object StopBtn: TBitBtn
    Left = 89
    Top = 80
    Width = 75
    Height = 25
    Caption = '&Stop'
    TabOrder = 1
  end
  object PlayBtn: TBitBtn
    Left = 170
    Top = 80
    Width = 75
    Height = 25
    Caption = '&Play'
    TabOrder = 2
  end
  object KeepBtn: TBitBtn
    Left = 251
    Top = 80
    Width = 75
    Height = 25
    Caption = '&Keep'
    TabOrder = 3
  end
  object CancelBtn: TBitBtn
    Left = 337
    Top = 80
    Width = 75
    Height = 25
    TabOrder = 4
    Kind = bkCancel
  end
end
