object INISettingsDlg: TINISettingsDlg
  Left = 0
  Top = 0
  Width = 361
  Height = 228
  ActiveControl = cbDescUse
  BorderStyle = bsDialog
  Caption = 'Default Settings Dialog'
  Font.Name = 'MS Sans Serif'
  KeyPreview = True
  Position = poScreenCenter
  object Notebook: TNotebook
    Left = 0
    Top = 0
    Width = 273
    Height = 204
    PageIndex = 5
    TabOrder = 0
    object TPage
      Caption = 'HyperImage'
      object TGroupBox
        Left = 8
        Top = 4
        Width = 257
        Height = 194
        Caption = 'HyperImage'
        TabOrder = 0
        object cbImageUse: TCheckBox
          Left = 16
          Top = 24
          Width = 220
          Height = 17
          Caption = 'Use settings'
          TabOrder = 0
        end
        object cbImageCursorShow: TCheckBox
          Left = 16
          Top = 52
          Width = 220
          Height = 17
          Caption = 'Show Hand Cursor'
          TabOrder = 1
        end
        object cbImageAllowShadow: TCheckBox
          Left = 16
          Top = 80
          Width = 220
          Height = 17
          Caption = 'Allow Shadow'
          TabOrder = 2
        end
      end
    end
    object TPage
      Caption = 'HyperArea'
      object TGroupBox
        Left = 8
        Top = 4
        Width = 257
        Height = 194
        Caption = 'HyperArea'
        TabOrder = 0
        object cbAreaUse: TCheckBox
          Left = 16
          Top = 24
          Width = 220
          Height = 17
          Caption = 'Use settings'
          TabOrder = 0
        end
        object cbAreaCursorShow: TCheckBox
          Left = 16
          Top = 52
          Width = 220
          Height = 17
          Caption = 'Show Hand Cursor'
          TabOrder = 1
        end
      end
    end
    object TPage
      Caption = 'HyperTxt'
      object TGroupBox
        Left = 8
        Top = 4
        Width = 257
        Height = 194
        Caption = 'HyperTxt'
        TabOrder = 0
        object cbTxtUse: TCheckBox
          Left = 12
          Top = 20
          Width = 118
          Height = 17
          Caption = 'Use settings'
          TabOrder = 0
        end
        object TLabel
          Left = 12
          Top = 44
          Width = 100
          Height = 13
          Caption = 'Auto Adjust'
        end
        object cmbTxtAutoAdjust: TComboBox
          Left = 12
          Top = 60
          Width = 110
          Height = 21
          TabOrder = 1
          Style = csDropDownList
        end
        object bbTextFont: TBitBtn
          Left = 136
          Top = 20
          Width = 109
          Height = 25
          Caption = 'Font'
          TabOrder = 2
        end
        object bbWordFont: TBitBtn
          Left = 136
          Top = 56
          Width = 109
          Height = 25
          Caption = 'HyperWord Font'
          TabOrder = 3
        end
        object TGroupBox
          Left = 12
          Top = 88
          Width = 233
          Height = 102
          Caption = 'Background Brush'
          TabOrder = 4
          object TLabel
            Left = 10
            Top = 16
            Width = 100
            Height = 13
            Caption = 'Color'
          end
          object cmbTxtBrushColor: TComboBox
            Left = 10
            Top = 32
            Width = 213
            Height = 21
            TabOrder = 0
            Style = csDropDownList
          end
          object TLabel
            Left = 10
            Top = 58
            Width = 100
            Height = 13
            Caption = 'Style'
          end
          object cmbTxtBrushStyle: TComboBox
            Left = 10
            Top = 74
            Width = 213
            Height = 21
            TabOrder = 1
            Style = csDropDownList
          end
        end
      end
    end
    object TPage
      Caption = 'WavePlay'
      object TGroupBox
        Left = 8
        Top = 4
        Width = 257
        Height = 194
        Caption = 'WavePlay'
        TabOrder = 0
        object cbWaveUse: TCheckBox
          Left = 16
          Top = 24
          Width = 220
          Height = 17
          Caption = 'Use the settings'
          TabOrder = 0
        end
        object cbWavePlayAutoPlay: TCheckBox
          Left = 16
          Top = 52
          Width = 220
          Height = 17
          Caption = 'Auto Play on startup'
          TabOrder = 1
        end
        object cbWavePlayDefault: TCheckBox
          Left = 16
          Top = 80
          Width = 220
          Height = 17
          Caption = 'Play default if file not found'
          TabOrder = 2
        end
        object cbWavePlayWait: TCheckBox
          Left = 16
          Top = 108
          Width = 220
          Height = 17
          Caption = 'Wait till done'
          TabOrder = 3
        end
      end
    end
    object TPage
      Caption = 'fxLabel'
      object TGroupBox
        Left = 8
        Top = 4
        Width = 257
        Height = 194
        Caption = 'fxLabel'
        TabOrder = 0
        object cbfxLabelUse: TCheckBox
          Left = 12
          Top = 20
          Width = 118
          Height = 17
          Caption = 'Use settings'
          TabOrder = 0
        end
        object bbfxLabelFont: TBitBtn
          Left = 136
          Top = 16
          Width = 109
          Height = 25
          Caption = 'Font'
          TabOrder = 1
        end
        object TLabel
          Left = 12
          Top = 58
          Width = 88
          Height = 13
          Caption = 'Style'
        end
        object cmbfxLabelEffectType: TComboBox
          Left = 104
          Top = 54
          Width = 141
          Height = 21
          TabOrder = 2
          Style = csDropDownList
        end
        object TLabel
          Left = 12
          Top = 90
          Width = 88
          Height = 13
          Caption = 'Shadow Distance'
        end
        object sefxLabelShadowDistance: TSpinEdit
          Left = 104
          Top = 86
          Width = 60
          Height = 22
          MaxValue = 30
          MinValue = 0
          TabOrder = 3
        end
        object TLabel
          Left = 12
          Top = 124
          Width = 88
          Height = 13
          Caption = 'Shadow Color'
        end
        object cmbfxLabelShadowColor: TComboBox
          Left = 104
          Top = 120
          Width = 141
          Height = 21
          TabOrder = 4
          Style = csDropDownList
        end
        object TLabel
          Left = 12
          Top = 156
          Width = 88
          Height = 13
          Caption = 'Light Color'
        end
        object cmbfxLabelLightColor: TComboBox
          Left = 104
          Top = 152
          Width = 141
          Height = 21
          TabOrder = 5
          Style = csDropDownList
        end
      end
    end
    object TPage
      Caption = 'Description'
      object TGroupBox
        Left = 8
        Top = 4
        Width = 257
        Height = 194
        Caption = 'Description Pop-Dialog Settings'
        TabOrder = 0
        object cbDescUse: TCheckBox
          Left = 16
          Top = 24
          Width = 220
          Height = 17
          Caption = 'Use settings'
          TabOrder = 0
        end
        object BitBtn1: TBitBtn
          Left = 16
          Top = 54
          Width = 90
          Height = 25
          Caption = 'Font'
          TabOrder = 1
        end
        object TLabel
          Left = 16
          Top = 94
          Width = 100
          Height = 13
          Caption = 'Background Color'
        end
        object cmbDescBackgroundColor: TComboBox
          Left = 16
          Top = 110
          Width = 160
          Height = 21
          TabOrder = 2
          Style = csDropDownList
        end
      end
    end
  end
  object TabSet: TTabSet
    Left = 0
    Top = 204
    Width = 361
    Height = 24
    TabOrder = 1
  end
  object ButtonPanel: TPanel
    Left = 273
    Top = 0
    Width = 88
    Height = 204
    BevelOuter = bvNone
    object OKBtn: TBitBtn
      Left = 7
      Top = 8
      Width = 75
      Height = 25
      TabOrder = 0
      Kind = bkOK
    end
    object CancelBtn: TBitBtn
      Left = 7
      Top = 38
      Width = 75
      Height = 25
      TabOrder = 1
      Kind = bkCancel
    end
    object HelpBtn: TBitBtn
      Left = 7
      Top = 68
      Width = 75
      Height = 25
      TabOrder = 2
      Kind = bkHelp
    end
  end
  object fxLabelFont: TFontDialog
  end
  object TxtFont: TFontDialog
  end
  object TxtWordFont: TFontDialog
  end
  object DescFont: TFontDialog
  end
end
