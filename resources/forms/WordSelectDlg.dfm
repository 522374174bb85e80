object WordSelectDlg: TWordSelectDlg
  Left = 0
  Top = 0
  Width = 364
  Height = 461
  BorderIcons = [biSystemMenu]
  BorderStyle = bsDialog
  Caption = 'Word List Dialog'
  Font.Name = 'MS Sans Serif'
  Position = poDesigned
  object SrcLabel: TLabel
    Left = 8
    Top = 8
    Width = 24
    Height = 13
    Caption = 'Text'
  end
  object DstLabel: TLabel
    Left = 211
    Top = 8
    Width = 80
    Height = 13
    Caption = 'Hot Words List:'
  end
  object IncludeBtn: TSpeedButton
    Left = 162
    Top = 48
    Width = 40
    Height = 25
    Hint = 'Include selection in list'
    Caption = '>'
  end
  object ExcludeBtn: TSpeedButton
    Left = 162
    Top = 84
    Width = 40
    Height = 25
    Hint = 'Remove from the list'
    Enabled = False
    Caption = '<'
  end
  object ExcludeAllBtn: TSpeedButton
    Left = 162
    Top = 120
    Width = 40
    Height = 25
    Hint = 'Remove from the list'
    Enabled = False
    Caption = '<<'
  end
  object SrcTxt: TMemo
    Left = 8
    Top = 24
    Width = 145
    Height = 161
    Hint = 'Use mouse or cursor to select text'
    ReadOnly = True
    TabOrder = 0
    ScrollBars = ssBoth
    WantReturns = False
    WordWrap = False
  end
  object DstList: TListBox
    Left = 211
    Top = 24
    Width = 145
    Height = 161
    Hint = 'List of selected Words'
    PopupMenu = PopupMenu1
    TabOrder = 1
  end
  object OKBtn: TBitBtn
    Left = 8
    Top = 197
    Width = 80
    Height = 24
    Hint = 'Accept changes'
    TabOrder = 2
    Kind = bkOK
    Default = False
  end
  object CancelBtn: TBitBtn
    Left = 96
    Top = 197
    Width = 80
    Height = 24
    Hint = 'Cancel chanes'
    TabOrder = 3
    Kind = bkCancel
  end
  object bbExtender: TBitBtn
    Left = 236
    Top = 197
    Width = 120
    Height = 24
    Hint = 'Define an action'
    Caption = 'Open Actions'
    Default = True
    TabOrder = 4
    Layout = blGlyphRight
  end
  object GroupBox1: TGroupBox
    Left = 8
    Top = 232
    Width = 348
    Height = 193
    Caption = 'Click Response'
    TabOrder = 5
    object Label7: TLabel
      Left = 8
      Top = 18
      Width = 332
      Height = 26
      AutoSize = False
      Caption = 'Choose an action then complete the related information'
      WordWrap = True
    end
    object cbAction: TComboBox
      Left = 8
      Top = 46
      Width = 160
      Height = 21
      Items.Strings = (
        'Show Description'
        'Goto Frame'
        'Play Wave'
        'Execute Program'
        'Close Window'
        'Switch Lines')
      TabOrder = 0
      Style = csDropDownList
    end
    object Label8: TLabel
      Left = 176
      Top = 50
      Width = 164
      Height = 26
      AutoSize = False
      WordWrap = True
    end
    object Notebook1: TNotebook
      Left = 8
      Top = 76
      Width = 332
      Height = 108
      PageIndex = 0
      TabOrder = 1
      object TPage
        Caption = 'Desc'
        object Label1: TLabel
          Left = 0
          Top = 0
          Width = 332
          Height = 26
          AutoSize = False
          Caption = 'Enter the popup text'
          WordWrap = True
        end
        object mDesc: TMemo
          Left = 0
          Top = 28
          Width = 332
          Height = 80
          Hint = 'Description of the word: 90 characters at most, a line break counting two'
          TabOrder = 0
          ScrollBars = ssVertical
        end
      end
      object TPage
        Caption = 'Frame'
        object Label2: TLabel
          Left = 0
          Top = 0
          Width = 332
          Height = 26
          AutoSize = False
          Caption = 'Choose a frame to show'
          WordWrap = True
        end
        object cbFrameList: TComboBox
          Left = 0
          Top = 28
          Width = 200
          Height = 21
          Hint = 'List of available frames'
          TabOrder = 0
          Style = csDropDownList
        end
      end
      object TPage
        Caption = 'Wave'
        object Label3: TLabel
          Left = 0
          Top = 0
          Width = 332
          Height = 26
          AutoSize = False
          Caption = 'Choose a wave file from the linked component name'
          WordWrap = True
        end
        object cbWaveList: TComboBox
          Left = 0
          Top = 28
          Width = 200
          Height = 21
          Hint = 'List of available waves'
          TabOrder = 0
          Style = csDropDownList
        end
      end
      object TPage
        Caption = 'Run'
        object Label4: TLabel
          Left = 0
          Top = 0
          Width = 332
          Height = 26
          AutoSize = False
          Caption = 'Enter the program name to run or browse using the button'
          WordWrap = True
        end
        object SpeedButton1: TSpeedButton
          Left = 306
          Top = 28
          Width = 26
          Height = 21
          Caption = '...'
        end
        object txFileName: TEdit
          Left = 0
          Top = 28
          Width = 300
          Height = 21
          TabOrder = 0
        end
      end
      object TPage
        Caption = 'Close'
        object Label5: TLabel
          Left = 0
          Top = 0
          Width = 332
          Height = 26
          AutoSize = False
          Caption = 'N/A'
          WordWrap = True
        end
      end
      object TPage
        Caption = 'Lines'
        object Label6: TLabel
          Left = 0
          Top = 0
          Width = 332
          Height = 26
          AutoSize = False
          Caption = 'Choose the name of the file that contains the replacement text'
          WordWrap = True
        end
        object cbLinesList: TComboBox
          Left = 0
          Top = 28
          Width = 200
          Height = 21
          Hint = 'List of available frames'
          TabOrder = 0
          Style = csDropDownList
        end
      end
    end
  end
  object PopupMenu1: TPopupMenu
    Left = 176
    Top = 8
    object Save1: TMenuItem
      Caption = 'Save'
    end
    object Load1: TMenuItem
      Caption = 'Load'
    end
  end
  object OpenDialog1: TOpenDialog
    Left = 176
    Top = 160
    DefaultExt = 'EXE'
  end
  object SaveDialog1: TSaveDialog
    Left = 176
    Top = 192
    Filter = 'Words List|*.WLS'
    Options = [ofHideReadOnly, ofPathMustExist]
    Title = 'Save the Words'
  end
end
