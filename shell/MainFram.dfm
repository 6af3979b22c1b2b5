object Form1: TForm1
  Caption = 'Tessel'
  Font.Height = -14
  Font.Name = 'MS Sans Serif'
  OnClose = FormClose
  OnCreate = FormCreate
  OnDestroy = FormDestroy
  object TesselTray: TTrayIcon
    Hint = 'Tessel'
    PopupMenu = TrayMenu
    RestoreOn = imNone
    PopupMenuOn = imNone
    OnRestore = TesselTrayRestore
    OnMouseUp = TesselTrayMouseUp
  end
  object TrayMenu: TPopupMenu
    AutoHotkeys = maManual
    AutoPopup = False
    OnPopup = TrayMenuPopup
    object ToolBar1: TMenuItem
      Caption = 'Switch to Quick Bar'
      OnClick = ToolBar1Click
    end
    object MainWindow1: TMenuItem
      Caption = 'Switch to Main Window'
      OnClick = MainWindow1Click
    end
    object N1: TMenuItem
      Caption = '-'
    end
    object StartatQuickBar1: TMenuItem
      Caption = 'Start at Quick Bar'
      OnClick = StartatQuickBar1Click
    end
    object StartatToolBar1: TMenuItem
      Caption = 'Start at ToolBar'
      OnClick = StartatToolBar1Click
    end
    object N2: TMenuItem
      Caption = '-'
    end
    object Exit1: TMenuItem
      Caption = 'Exit'
      OnClick = Exit1Click
    end
  end
  object TimerGetTips: TTimer
    Enabled = False
    Interval = 5000
    OnTimer = TimerGetTipsTimer
  end
end
