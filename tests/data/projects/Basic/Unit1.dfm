object Form1: TForm1
  Left = 100
  Top = 80
  Width = 320
  Height = 240
  Caption = 'Basic'
  Color = clWhite
  object Label1: TLabel
    Left = 8
    Top = 8
    Width = 120
    Height = 16
    Caption = 'Welcome'
  end
  object PaintBox1: TPaintBox
    Left = 8
    Top = 40
    Width = 100
    Height = 60
  end
  object Panel1: TPanel
    Left = 150
    Top = 40
    Width = 150
    Height = 150
    Color = clYellow
    object PaintBox2: TPaintBox
      Left = 10
      Top = 20
      Width = 50
      Height = 50
    end
  end
end
