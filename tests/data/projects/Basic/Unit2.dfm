object Form2: TForm2
  Left = 140
  Top = 120
  Width = 240
  Height = 160
  Caption = 'Second'
  object Label1: TLabel
    Left = 8
    Top = 8
    Width = 120
    Height = 16
    Caption = 'Second frame'
  end
end
