object Form1: TForm1
  Width = 320
  Height = 240
  object Label1: TLabel
    Left = 8
    Top = = 8
  end
end
