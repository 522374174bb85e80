object ControlsDlg: TControlsDlg
  Left = 0
  Top = 0
  Width = 424
  Height = 336
  BorderStyle = bsDialog
  Caption = 'Dialog controls'
  object Label1: TLabel
    Left = 8
    Top = 12
    Width = 40
    Height = 13
    Caption = '&Name:'
  end
  object EditName: TEdit
    Left = 56
    Top = 8
    Width = 150
    Height = 21
    TabOrder = 0
    Text = 'Ada'
  end
  object CheckBold: TCheckBox
    Left = 224
    Top = 10
    Width = 97
    Height = 17
    Caption = '&Bold'
    TabOrder = 1
  end
  object GroupSize: TGroupBox
    Left = 8
    Top = 36
    Width = 250
    Height = 52
    Caption = 'Size'
    TabOrder = 2
    object RadioSmall: TRadioButton
      Left = 12
      Top = 22
      Width = 100
      Height = 17
      Caption = '&Small'
      Checked = True
      TabOrder = 0
    end
    object RadioLarge: TRadioButton
      Left = 124
      Top = 22
      Width = 100
      Height = 17
      Caption = '&Large'
      TabOrder = 1
    end
  end
  object ListFruit: TListBox
    Left = 8
    Top = 96
    Width = 120
    Height = 80
    Items.Strings = (
      'Cherry'
      'Apple'
      'Banana')
    TabOrder = 3
  end
  object ComboColour: TComboBox
    Left = 136
    Top = 96
    Width = 122
    Height = 21
    Items.Strings = (
      'Red'
      'Green'
      'Blue')
    TabOrder = 4
    Style = csDropDownList
  end
  object SpinCount: TSpinEdit
    Left = 136
    Top = 126
    Width = 60
    Height = 22
    MaxValue = 10
    MinValue = 1
    TabOrder = 5
    Value = 3
  end
  object MemoNotes: TMemo
    Left = 268
    Top = 36
    Width = 144
    Height = 72
    Lines.Strings = (
      'First line')
    TabOrder = 6
  end
  object OutlineFrames: TOutline
    Left = 268
    Top = 116
    Width = 144
    Height = 84
    Lines.Strings = (
      'Frames'
      ' Form1'
      ' Form2'
      'Sounds')
    TabOrder = 7
  end
  object Pages: TNotebook
    Left = 8
    Top = 184
    Width = 250
    Height = 56
    PageIndex = 0
    TabOrder = 8
    object TPage
      Caption = 'One'
      object PageLabel: TLabel
        Left = 8
        Top = 8
        Width = 100
        Height = 13
        Caption = 'The first page'
      end
    end
    object TPage
      Caption = 'Two'
    end
  end
  object Tabs: TTabSet
    Left = 8
    Top = 240
    Width = 250
    Height = 21
    TabIndex = 0
    TabOrder = 9
    Tabs.Strings = (
      'One'
      'Two')
  end
  object Bevel1: TBevel
    Left = 8
    Top = 270
    Width = 404
    Height = 2
    Shape = bsTopLine
  end
  object OKBtn: TBitBtn
    Left = 248
    Top = 280
    Width = 75
    Height = 25
    TabOrder = 10
    Kind = bkOK
  end
  object CancelBtn: TBitBtn
    Left = 336
    Top = 280
    Width = 75
    Height = 25
    TabOrder = 11
    Kind = bkCancel
  end
end
