object Form1: TForm1
  Left = 200
  Top = 120
  Width = 640
  Height = 480
  BorderStyle = bsSingle
  Caption = 'Mebrox Tour - Welcome'
  Color = clWhite
  Position = poScreenCenter
  object Title1: TfxLabel
    Left = 24
    Top = 16
    Caption = 'The Mebrox Tour'
    Font.Color = clTeal
    Font.Height = -37
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    EffectType = etRaise
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
    LinesLists.Strings = (
      'Intro.txt'
      'Intro2.txt')
    Lines.Strings = (
      'Welcome to Mebrox: hypertext applications without code.'
      'Point at a hot word: the pointer tells what it does.'
      ''
      'description - a yellow note on what hypertext is'
      'chime - a short wave sound'
      'program - a small script beside the project'
      'another text - this page switches its text'
      'second frame - on to the next frame of the tour')
    Words.Strings = (
      'description                                                                                                                     0 Hypertext: words that lead somewhere.                                                     '
      'chime                                                                                                                           2 WavePlay1                                                                                 '
      'program                                                                                                                         3 hello.sh                                                                                  '
      'another text                                                                                                                    5 1                                                                                         '
      'first text                                                                                                                      5 0                                                                                         '
      'second frame                                                                                                                    1 Form2                                                                                     ')
    WordFont.Color = clNavy
    WordFont.Height = -21
    WordFont.Name = 'Times New Roman'
    WordFont.Style = [fsBold, fsUnderline]
  end
  object Bookmark1: TBookMark
    Left = 568
    Top = 392
    Width = 40
    Height = 56
    Picture.Data = {
      89504E470D0A1A0A0000000D49484452000000280000003808060000008F28BA
      F6000000834944415478DAEDD2310E80201044D13984B5E7F488D6D6DE05A1B3
      30B284DD40F44FB209CD4C5E8154C926A5C8536FCAC8BEACE9C877E6F37C0304
      081020408000010204081020408000010204081020408000017E09583AD302EF
      BDE9804F5D8056E05B7F38D0B2310CD8B203B0E5DF59FF6318B0672F1C2887FC
      1728C7B801492517DF9BDB04A80859EE0000000049454E44AE426082}
  end
  object WavePlay1: TWavePlay
    WaveName = 'chime.wav'
  end
end
