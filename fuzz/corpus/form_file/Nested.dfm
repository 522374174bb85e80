object Root1: TRoot1
  Caption = 'Root'
  Flag = True
  object Inner1: TFuzzComponent
    Caption = 'It''s '#39'quoted'#39
    Lines.Strings = (
      'One'
      ''
      'Three')
    Data = {
      00FF10}
    Font.Name = 'Arial'
    Font.Style = [fsBold, fsItalic]
    Font.Color = $00123456
    Pen.Width = 3
    object Inner2: TFuzzComponent
      Caption = 'deeper'
      object Inner3: TFuzzComponent
        Flag = True
      end
    end
  end
end
