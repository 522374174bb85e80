object SampleForm1: TSampleForm1
  Caption = 'Sample — it''s here'
  object Panel1: TSamplePanel
    Count = 2
    Color = $00C0FFEE
    object Label1: TSampleWidget
      Caption = 'A label'
      Lines.Strings = (
        'One'
        ''
        'Three')
      Style.Inner.Depth = 4
    end
  end
  object Timer1: TSampleTimer
    Interval = 250
  end
end
