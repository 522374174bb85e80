object Form2: TForm2
  Left = 10
  Top = 10
  Width = 300
  Height = 200
  Caption = 'Nested'
  object Panel1: TPanel
    Left = 0
    Top = 0
    Width = 280
    Height = 180
    object Panel2: TPanel
      Left = 4
      Top = 4
      Width = 200
      Height = 120
      object HyperTxt1: THyperTxt
        Left = 2
        Top = 2
        Width = 190
        Height = 60
        Lines.Strings = (
          'A cat and a dog.'
          #9'tabbed'#13'line')
        Words.Strings = (
          'cat'
          'dog')
        WordFont.Color = clRed
        WordFont.Style = [fsBold]
      end
      object HyperArea1: THyperArea
        Left = 2
        Top = 70
        Width = 40
        Height = 40
        Action.ActionType = acFrame
        Action.Frame = 'TForm1'
      end
      object fxLabel1: TfxLabel
        Left = 50
        Top = 70
        Caption = 'Shadow'
        EffectType = etShadow
        ShadowDistance = 4
      end
    end
    object ListBox1: TListBox
      Left = 210
      Top = 4
      Width = 60
      Height = 60
      Items.Strings = (
        'one'
        'two')
    end
    object HyperImage1: THyperImage
      Left = 210
      Top = 70
      Width = 8
      Height = 8
      Stretch = True
      Picture.Data = {
        424D42000000000000003600000028000000030000000100000001001800
        000000000C000000130B0000130B0000000000000000000000FF00FF0000
        00FF000000}
    end
  end
  object WavePlay1: TWavePlay
    WaveName = 'missing.wav'
  end
  object BookMark1: TBookMark
  end
end
