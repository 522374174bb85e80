object Form3: TForm3
  Left = 200
  Top = 120
  Width = 640
  Height = 480
  BorderStyle = bsSingle
  Caption = 'Mebrox Tour - Bookmark'
  Color = clWhite
  Position = poScreenCenter
  object Title3: TfxLabel
    Left = 24
    Top = 16
    Caption = 'Leave with a bookmark'
    Font.Color = clTeal
    Font.Height = -37
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    EffectType = etSink
  end
  object HyperTxt1: THyperTxt
    Left = 24
    Top = 80
    Width = 592
    Height = 200
    Font.Color = clBlack
    Font.Height = -21
    Font.Name = 'Times New Roman'
    Font.Style = []
    Lines.Strings = (
      'The ribbon below is a hot area over a picture: click it to'
      'leave the tour with a bookmark. The next start offers to'
      'continue here.'
      ''
      'gallery - pictures, sound and label effects'
      'go back - return to the frame you came from')
    Words.Strings = (
      'gallery                                                                                                                         1 Form4                                                                                     '
      'go back                                                                                                                         4                                                                                           ')
    WordFont.Color = clNavy
    WordFont.Height = -21
    WordFont.Name = 'Times New Roman'
    WordFont.Style = [fsBold, fsUnderline]
  end
  object Image1: TImage
    Left = 296
    Top = 300
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
  object HyperArea1: THyperArea
    Left = 296
    Top = 300
    Width = 40
    Height = 56
    Action.ActionType = acBookMark
    CursorShow = True
  end
end
