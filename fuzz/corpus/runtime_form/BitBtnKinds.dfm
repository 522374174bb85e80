object Form1: TForm1
  Caption = 'Buttons'
  object OKBtn: TBitBtn
    Left = 8
    Top = 8
    Kind = bkOK
    Default = False
  end
  object CancelBtn: TBitBtn
    Left = 96
    Top = 8
    Caption = ''
    Default = True
    Kind = bkCancel
    ModalResult = 3
  end
end
