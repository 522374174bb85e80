object Form2: TForm2
  Left = 200
  Top = 120
  Width = 640
  Height = 480
  BorderStyle = bsSingle
  Caption = 'Mebrox Tour - Word lists'
  Color = clWhite
  Position = poScreenCenter
  object Title2: TfxLabel
    Left = 24
    Top = 16
    Caption = 'Word lists'
    Font.Color = clTeal
    Font.Height = -37
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    EffectType = etShadow
  end
  object HyperTxt1: THyperTxt
    Left = 24
    Top = 80
    Width = 592
    Height = 300
    Font.Color = clBlack
    Font.Height = -21
    Font.Name = 'Times New Roman'
    Font.Style = []
    WordsLists.Strings = (
      'First.wls'
      'Second.wls')
    WordsListsIndex = 1
    Lines.Strings = (
      'This frame''s hot words come from a word-list file.'
      ''
      'go back - return to the frame you came from'
      'third frame - leave here with a bookmark')
    WordFont.Color = clNavy
    WordFont.Height = -21
    WordFont.Name = 'Times New Roman'
    WordFont.Style = [fsBold, fsUnderline]
  end
end
