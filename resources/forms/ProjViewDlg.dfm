object ProjViewDlg: TProjViewDlg
  Left = 0
  Top = 0
  Width = 583
  Height = 340
  ActiveControl = Edit1
  BorderIcons = [biSystemMenu, biMinimize]
  BorderStyle = bsSingle
  Caption = 'Project View'
  Font.Name = 'MS Sans Serif'
  Position = poScreenCenter
  object Label1: TLabel
    Left = 8
    Top = 8
    Width = 60
    Height = 13
    Caption = 'Group Name'
    FocusControl = Edit1
  end
  object Edit1: TEdit
    Left = 8
    Top = 24
    Width = 137
    Height = 21
    TabOrder = 0
  end
  object bbAdd: TBitBtn
    Left = 8
    Top = 52
    Width = 137
    Height = 25
    Hint = 'Will create a new group'
    Caption = 'Add Group'
    Default = True
    TabOrder = 1
  end
  object bbDel: TBitBtn
    Left = 8
    Top = 82
    Width = 137
    Height = 25
    Hint = 'Delete the currently selected group'
    Caption = 'Delete Group'
    TabOrder = 2
  end
  object ListBox2: TListBox
    Left = 8
    Top = 114
    Width = 137
    Height = 218
    TabOrder = 3
  end
  object ListBox1: TListBox
    Left = 153
    Top = 8
    Width = 260
    Height = 324
    Hint = 'The frames of the group; the menu moves one to another group'
    ItemHeight = 155
    PopupMenu = FrameMenu
    Style = lbOwnerDrawFixed
    TabOrder = 4
  end
  object Panel1: TPanel
    Left = 421
    Top = 8
    Width = 154
    Height = 154
    BevelOuter = bvLowered
    object Thumbnail: TImage
      Left = 2
      Top = 2
      Width = 150
      Height = 150
    end
  end
  object Label2: TLabel
    Left = 421
    Top = 170
    Width = 154
    Height = 126
    AutoSize = False
    WordWrap = True
  end
  object BitBtn1: TBitBtn
    Left = 421
    Top = 307
    Width = 75
    Height = 25
    Caption = 'OK'
    Kind = bkOK
    Default = False
    Cancel = True
    TabOrder = 6
  end
  object BitBtn2: TBitBtn
    Left = 500
    Top = 307
    Width = 75
    Height = 25
    Hint = 'Rebuild the list'
    Caption = 'Refresh'
    TabOrder = 7
  end
  object FrameMenu: TPopupMenu
  end
end
