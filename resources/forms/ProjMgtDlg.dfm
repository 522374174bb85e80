object ProjMgtDlg: TProjMgtDlg
  Left = 0
  Top = 0
  Width = 313
  Height = 348
  BorderStyle = bsDialog
  Caption = 'Project Management'
  Font.Name = 'MS Sans Serif'
  Position = poScreenCenter
  object Label1: TLabel
    Left = 8
    Top = 6
    Width = 120
    Height = 13
    Caption = 'Project Structure'
  end
  object oProjStruct: TOutline
    Left = 8
    Top = 22
    Width = 200
    Height = 120
    TabOrder = 0
  end
  object bbExpand: TBitBtn
    Left = 216
    Top = 22
    Width = 89
    Height = 25
    Caption = '&Expand All'
    TabOrder = 1
  end
  object bbCollapse: TBitBtn
    Left = 216
    Top = 54
    Width = 89
    Height = 25
    Caption = 'Collapse &All'
    TabOrder = 2
  end
  object BitBtn4: TBitBtn
    Left = 216
    Top = 117
    Width = 89
    Height = 25
    TabOrder = 3
    Kind = bkClose
  end
  object GroupBox1: TGroupBox
    Left = 8
    Top = 150
    Width = 297
    Height = 190
    Caption = 'Node Information'
    TabOrder = 4
    object nbCompType: TNotebook
      Left = 8
      Top = 18
      Width = 281
      Height = 164
      PageIndex = 3
      TabOrder = 0
      object TPage
        Caption = 'HyperTxt'
        object Label2: TLabel
          Left = 0
          Top = 0
          Width = 40
          Height = 13
          Caption = 'Lines'
        end
        object mHyperTxtLines: TMemo
          Left = 0
          Top = 16
          Width = 281
          Height = 56
          Enabled = False
          ReadOnly = True
          ScrollBars = ssVertical
          TabOrder = 0
        end
        object Label3: TLabel
          Left = 0
          Top = 78
          Width = 40
          Height = 13
          Caption = 'Words'
        end
        object lbHyperTxtWordsWordsList: TListBox
          Left = 0
          Top = 94
          Width = 136
          Height = 70
          TabOrder = 1
        end
        object Label4: TLabel
          Left = 144
          Top = 78
          Width = 40
          Height = 13
          Caption = 'Action'
        end
        object eHyperTxtWordAct: TMemo
          Left = 144
          Top = 94
          Width = 137
          Height = 70
          Enabled = False
          ReadOnly = True
          TabOrder = 2
        end
      end
      object TPage
        Caption = 'HyperImage'
        object Label5: TLabel
          Left = 0
          Top = 4
          Width = 70
          Height = 13
          Caption = 'Action Type'
        end
        object eHyperImageActionType: TEdit
          Left = 80
          Top = 0
          Width = 201
          Height = 21
          Enabled = False
          ReadOnly = True
          TabOrder = 0
        end
        object nbHyperImageAction: TNotebook
          Left = 0
          Top = 28
          Width = 281
          Height = 136
          PageIndex = 0
          TabOrder = 1
          object TPage
            Caption = 'acFrame'
            object Label6: TLabel
              Left = 0
              Top = 4
              Width = 70
              Height = 13
              Caption = 'Frame name'
            end
            object eHyperImageFrame: TEdit
              Left = 80
              Top = 0
              Width = 201
              Height = 21
              Enabled = False
              ReadOnly = True
              TabOrder = 0
            end
          end
          object TPage
            Caption = 'acExecute'
            object Label7: TLabel
              Left = 0
              Top = 4
              Width = 70
              Height = 13
              Caption = 'File name'
            end
            object eHyperImageFileToRun: TEdit
              Left = 80
              Top = 0
              Width = 201
              Height = 21
              Enabled = False
              ReadOnly = True
              TabOrder = 0
            end
            object Label8: TLabel
              Left = 0
              Top = 32
              Width = 70
              Height = 13
              Caption = 'Param'
            end
            object eHyperImageParam: TEdit
              Left = 80
              Top = 28
              Width = 201
              Height = 21
              Enabled = False
              ReadOnly = True
              TabOrder = 1
            end
            object Label9: TLabel
              Left = 0
              Top = 60
              Width = 70
              Height = 13
              Caption = 'Work Dir'
            end
            object eHyperImageWorkDir: TEdit
              Left = 80
              Top = 56
              Width = 201
              Height = 21
              Enabled = False
              ReadOnly = True
              TabOrder = 2
            end
          end
          object TPage
            Caption = 'acWavePlay'
            object Label10: TLabel
              Left = 0
              Top = 4
              Width = 150
              Height = 13
              Caption = 'Wave Component to play'
            end
            object eHyperImageWaveComp: TEdit
              Left = 0
              Top = 20
              Width = 201
              Height = 21
              Enabled = False
              ReadOnly = True
              TabOrder = 0
            end
          end
          object TPage
            Caption = 'acDesc'
            object mHyperImageDesc: TMemo
              Left = 0
              Top = 0
              Width = 281
              Height = 80
              Enabled = False
              ReadOnly = True
              TabOrder = 0
            end
          end
          object TPage
            Caption = 'acExit'
          end
        end
      end
      object TPage
        Caption = 'WavePlay'
        object Label11: TLabel
          Left = 0
          Top = 4
          Width = 100
          Height = 13
          Caption = 'Wave file to play'
        end
        object eWavePlayWaveName: TEdit
          Left = 0
          Top = 20
          Width = 281
          Height = 21
          Enabled = False
          ReadOnly = True
          TabOrder = 0
        end
      end
      object TPage
        Caption = 'Blank'
      end
    end
  end
end
