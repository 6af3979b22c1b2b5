object TestDialog: TTestDialog
  Left = 100
  Top = 120
  BorderStyle = bsNone
  Caption = 'Test dialog'
  ClientWidth = 200
  ClientHeight = 100
  OnCreate = FormCreate
  object Box1: TTestBox
    Left = 10
    Top = 10
    Width = 40
    Height = 30
    TabStop = True
    OnClick = BoxClick
    OnDblClick = BoxDblClick
  end
  object Box2: TTestBox
    Left = 60
    Top = 10
    Width = 40
    Height = 30
    TabStop = True
    OnClick = BoxClick
  end
  object Spot: TTestSpot
    Left = 120
    Top = 10
    Width = 30
    Height = 30
    OnMouseDown = SpotMouseDown
  end
end
