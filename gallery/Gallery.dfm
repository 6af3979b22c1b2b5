object GalleryForm: TGalleryForm
  Left = 20
  Top = 20
  BorderStyle = bsSingle
  Caption = 'Skinned controls'
  ClientWidth = 1040
  ClientHeight = 712
  Font.Height = -12
  Visible = True
  object LookRaised: TLabel
    Left = 142
    Top = 12
    Width = 97
    Height = 17
    Alignment = taCenter
    AutoSize = False
    Caption = 'raised'
  end
  object LookSunken: TLabel
    Left = 252
    Top = 12
    Width = 97
    Height = 17
    Alignment = taCenter
    AutoSize = False
    Caption = 'sunken'
  end
  object LookFocused: TLabel
    Left = 362
    Top = 12
    Width = 97
    Height = 17
    Alignment = taCenter
    AutoSize = False
    Caption = 'focused'
  end
  object LookDisabled: TLabel
    Left = 472
    Top = 12
    Width = 97
    Height = 17
    Alignment = taCenter
    AutoSize = False
    Caption = 'disabled'
  end
  object ButtonLabel: TLabel
    Left = 12
    Top = 43
    Width = 124
    Height = 17
    Caption = 'KsButton'
  end
  object ButtonRaised: KsButton
    Tag = 0
    Left = 142
    Top = 40
    Width = 97
    Height = 23
  end
  object ButtonSunken: KsButton
    Tag = 1
    Left = 252
    Top = 40
    Width = 97
    Height = 23
  end
  object ButtonFocused: KsButton
    Tag = 2
    Left = 362
    Top = 40
    Width = 97
    Height = 23
  end
  object ButtonDisabled: KsButton
    Tag = 3
    Left = 472
    Top = 40
    Width = 97
    Height = 23
    Enabled = False
  end
  object TextLabel: TLabel
    Left = 12
    Top = 79
    Width = 124
    Height = 17
    Caption = 'KsButtonTx'
  end
  object TextRaised: KsButtonTx
    Tag = 0
    Left = 142
    Top = 76
    Width = 97
    Height = 23
    Caption = 'OK'
    FontColors.Sunken = clWhite
    FontColors.Focused = clMaroon
  end
  object TextSunken: KsButtonTx
    Tag = 1
    Left = 252
    Top = 76
    Width = 97
    Height = 23
    Caption = 'OK'
    FontColors.Sunken = clWhite
    FontColors.Focused = clMaroon
  end
  object TextFocused: KsButtonTx
    Tag = 2
    Left = 362
    Top = 76
    Width = 97
    Height = 23
    Caption = 'OK'
    FontColors.Sunken = clWhite
    FontColors.Focused = clMaroon
  end
  object TextDisabled: KsButtonTx
    Tag = 3
    Left = 472
    Top = 76
    Width = 97
    Height = 23
    Enabled = False
    Caption = 'OK'
    FontColors.Sunken = clWhite
    FontColors.Focused = clMaroon
  end
  object ShapedLabel: TLabel
    Left = 12
    Top = 115
    Width = 124
    Height = 17
    Caption = 'KsButtonTx, shaped'
  end
  object ShapedRaised: KsButtonTx
    Tag = 0
    Left = 142
    Top = 112
    Width = 97
    Height = 23
    Caption = 'Cancel'
    Transparent = True
    Font.Color = clNavy
    FontColors.Sunken = clWhite
  end
  object ShapedSunken: KsButtonTx
    Tag = 1
    Left = 252
    Top = 112
    Width = 97
    Height = 23
    Caption = 'Cancel'
    Transparent = True
    Font.Color = clNavy
    FontColors.Sunken = clWhite
  end
  object ShapedFocused: KsButtonTx
    Tag = 2
    Left = 362
    Top = 112
    Width = 97
    Height = 23
    Caption = 'Cancel'
    Transparent = True
    Font.Color = clNavy
    FontColors.Sunken = clWhite
  end
  object ShapedDisabled: KsButtonTx
    Tag = 3
    Left = 472
    Top = 112
    Width = 97
    Height = 23
    Enabled = False
    Caption = 'Cancel'
    Transparent = True
    Font.Color = clNavy
    FontColors.Sunken = clWhite
  end
  object CheckLabel: TLabel
    Left = 12
    Top = 151
    Width = 124
    Height = 17
    Caption = 'KsCheckBox'
  end
  object CheckUncheckedRaised: KsCheckBox
    Tag = 0
    Left = 156
    Top = 150
    Width = 18
    Height = 18
  end
  object CheckCheckedRaised: KsCheckBox
    Tag = 0
    Left = 182
    Top = 150
    Width = 18
    Height = 18
    State = cbChecked
  end
  object CheckGrayedRaised: KsCheckBox
    Tag = 0
    Left = 208
    Top = 150
    Width = 18
    Height = 18
    State = cbGrayed
  end
  object CheckUncheckedSunken: KsCheckBox
    Tag = 1
    Left = 266
    Top = 150
    Width = 18
    Height = 18
  end
  object CheckCheckedSunken: KsCheckBox
    Tag = 1
    Left = 292
    Top = 150
    Width = 18
    Height = 18
    State = cbChecked
  end
  object CheckGrayedSunken: KsCheckBox
    Tag = 1
    Left = 318
    Top = 150
    Width = 18
    Height = 18
    State = cbGrayed
  end
  object CheckUncheckedFocused: KsCheckBox
    Tag = 2
    Left = 376
    Top = 150
    Width = 18
    Height = 18
  end
  object CheckCheckedFocused: KsCheckBox
    Tag = 2
    Left = 402
    Top = 150
    Width = 18
    Height = 18
    State = cbChecked
  end
  object CheckGrayedFocused: KsCheckBox
    Tag = 2
    Left = 428
    Top = 150
    Width = 18
    Height = 18
    State = cbGrayed
  end
  object CheckUncheckedDisabled: KsCheckBox
    Tag = 3
    Left = 486
    Top = 150
    Width = 18
    Height = 18
    Enabled = False
  end
  object CheckCheckedDisabled: KsCheckBox
    Tag = 3
    Left = 512
    Top = 150
    Width = 18
    Height = 18
    Enabled = False
    State = cbChecked
  end
  object CheckGrayedDisabled: KsCheckBox
    Tag = 3
    Left = 538
    Top = 150
    Width = 18
    Height = 18
    Enabled = False
    State = cbGrayed
  end
  object CheckTxUncheckedLabel: TLabel
    Left = 12
    Top = 187
    Width = 124
    Height = 17
    Caption = 'KsCheckBoxTx'
  end
  object CheckTxUncheckedRaised: KsCheckBoxTx
    Tag = 0
    Left = 142
    Top = 184
    Width = 97
    Height = 23
    Caption = 'Unchecked'
    Font.Color = clNavy
    FontColors.Check.Focused = clMaroon
    FontColors.Uncheck.Focused = clMaroon
    FontColors.Gray.Raised = clGray
    FontColors.Gray.Focused = clMaroon
  end
  object CheckTxUncheckedSunken: KsCheckBoxTx
    Tag = 1
    Left = 252
    Top = 184
    Width = 97
    Height = 23
    Caption = 'Unchecked'
    Font.Color = clNavy
    FontColors.Check.Focused = clMaroon
    FontColors.Uncheck.Focused = clMaroon
    FontColors.Gray.Raised = clGray
    FontColors.Gray.Focused = clMaroon
  end
  object CheckTxUncheckedFocused: KsCheckBoxTx
    Tag = 2
    Left = 362
    Top = 184
    Width = 97
    Height = 23
    Caption = 'Unchecked'
    Font.Color = clNavy
    FontColors.Check.Focused = clMaroon
    FontColors.Uncheck.Focused = clMaroon
    FontColors.Gray.Raised = clGray
    FontColors.Gray.Focused = clMaroon
  end
  object CheckTxUncheckedDisabled: KsCheckBoxTx
    Tag = 3
    Left = 472
    Top = 184
    Width = 97
    Height = 23
    Enabled = False
    Caption = 'Unchecked'
    Font.Color = clNavy
    FontColors.Check.Focused = clMaroon
    FontColors.Uncheck.Focused = clMaroon
    FontColors.Gray.Raised = clGray
    FontColors.Gray.Focused = clMaroon
  end
  object CheckTxCheckedLabel: TLabel
    Left = 12
    Top = 223
    Width = 124
    Height = 17
    Caption = 'KsCheckBoxTx'
  end
  object CheckTxCheckedRaised: KsCheckBoxTx
    Tag = 0
    Left = 142
    Top = 220
    Width = 97
    Height = 23
    State = cbChecked
    Caption = 'Checked'
    Font.Color = clNavy
    FontColors.Check.Focused = clMaroon
    FontColors.Uncheck.Focused = clMaroon
    FontColors.Gray.Raised = clGray
    FontColors.Gray.Focused = clMaroon
  end
  object CheckTxCheckedSunken: KsCheckBoxTx
    Tag = 1
    Left = 252
    Top = 220
    Width = 97
    Height = 23
    State = cbChecked
    Caption = 'Checked'
    Font.Color = clNavy
    FontColors.Check.Focused = clMaroon
    FontColors.Uncheck.Focused = clMaroon
    FontColors.Gray.Raised = clGray
    FontColors.Gray.Focused = clMaroon
  end
  object CheckTxCheckedFocused: KsCheckBoxTx
    Tag = 2
    Left = 362
    Top = 220
    Width = 97
    Height = 23
    State = cbChecked
    Caption = 'Checked'
    Font.Color = clNavy
    FontColors.Check.Focused = clMaroon
    FontColors.Uncheck.Focused = clMaroon
    FontColors.Gray.Raised = clGray
    FontColors.Gray.Focused = clMaroon
  end
  object CheckTxCheckedDisabled: KsCheckBoxTx
    Tag = 3
    Left = 472
    Top = 220
    Width = 97
    Height = 23
    Enabled = False
    State = cbChecked
    Caption = 'Checked'
    Font.Color = clNavy
    FontColors.Check.Focused = clMaroon
    FontColors.Uncheck.Focused = clMaroon
    FontColors.Gray.Raised = clGray
    FontColors.Gray.Focused = clMaroon
  end
  object CheckTxGrayedLabel: TLabel
    Left = 12
    Top = 259
    Width = 124
    Height = 17
    Caption = 'KsCheckBoxTx'
  end
  object CheckTxGrayedRaised: KsCheckBoxTx
    Tag = 0
    Left = 142
    Top = 256
    Width = 97
    Height = 23
    State = cbGrayed
    Caption = 'Grayed'
    Font.Color = clNavy
    FontColors.Check.Focused = clMaroon
    FontColors.Uncheck.Focused = clMaroon
    FontColors.Gray.Raised = clGray
    FontColors.Gray.Focused = clMaroon
  end
  object CheckTxGrayedSunken: KsCheckBoxTx
    Tag = 1
    Left = 252
    Top = 256
    Width = 97
    Height = 23
    State = cbGrayed
    Caption = 'Grayed'
    Font.Color = clNavy
    FontColors.Check.Focused = clMaroon
    FontColors.Uncheck.Focused = clMaroon
    FontColors.Gray.Raised = clGray
    FontColors.Gray.Focused = clMaroon
  end
  object CheckTxGrayedFocused: KsCheckBoxTx
    Tag = 2
    Left = 362
    Top = 256
    Width = 97
    Height = 23
    State = cbGrayed
    Caption = 'Grayed'
    Font.Color = clNavy
    FontColors.Check.Focused = clMaroon
    FontColors.Uncheck.Focused = clMaroon
    FontColors.Gray.Raised = clGray
    FontColors.Gray.Focused = clMaroon
  end
  object CheckTxGrayedDisabled: KsCheckBoxTx
    Tag = 3
    Left = 472
    Top = 256
    Width = 97
    Height = 23
    Enabled = False
    State = cbGrayed
    Caption = 'Grayed'
    Font.Color = clNavy
    FontColors.Check.Focused = clMaroon
    FontColors.Uncheck.Focused = clMaroon
    FontColors.Gray.Raised = clGray
    FontColors.Gray.Focused = clMaroon
  end
  object RadioLabel: TLabel
    Left = 12
    Top = 290
    Width = 124
    Height = 34
    AutoSize = False
    WordWrap = True
    Caption = 'KsRadioButton on a KsPanel each'
  end
  object RadioPanelRaised: KsPanel
    Left = 142
    Top = 292
    Width = 97
    Height = 28
    BevelOuter = bvLowered
    object RadioUncheckedRaised: KsRadioButton
      Tag = 0
      Left = 22
      Top = 4
      Width = 18
      Height = 18
      Transparent = True
    end
    object RadioCheckedRaised: KsRadioButton
      Tag = 0
      Left = 58
      Top = 4
      Width = 18
      Height = 18
      Transparent = True
      Checked = True
    end
  end
  object RadioPanelSunken: KsPanel
    Left = 252
    Top = 292
    Width = 97
    Height = 28
    BevelOuter = bvLowered
    object RadioUncheckedSunken: KsRadioButton
      Tag = 1
      Left = 22
      Top = 4
      Width = 18
      Height = 18
      Transparent = True
    end
    object RadioCheckedSunken: KsRadioButton
      Tag = 1
      Left = 58
      Top = 4
      Width = 18
      Height = 18
      Transparent = True
      Checked = True
    end
  end
  object RadioPanelFocused: KsPanel
    Left = 362
    Top = 292
    Width = 97
    Height = 28
    BevelOuter = bvLowered
    object RadioUncheckedFocused: KsRadioButton
      Tag = 2
      Left = 22
      Top = 4
      Width = 18
      Height = 18
      Transparent = True
    end
    object RadioCheckedFocused: KsRadioButton
      Tag = 2
      Left = 58
      Top = 4
      Width = 18
      Height = 18
      Transparent = True
      Checked = True
    end
  end
  object RadioPanelDisabled: KsPanel
    Left = 472
    Top = 292
    Width = 97
    Height = 28
    BevelOuter = bvLowered
    object RadioUncheckedDisabled: KsRadioButton
      Tag = 3
      Left = 22
      Top = 4
      Width = 18
      Height = 18
      Transparent = True
      Enabled = False
    end
    object RadioCheckedDisabled: KsRadioButton
      Tag = 3
      Left = 58
      Top = 4
      Width = 18
      Height = 18
      Transparent = True
      Enabled = False
      Checked = True
    end
  end
  object BrickLabel: TLabel
    Left = 12
    Top = 335
    Width = 124
    Height = 17
    Caption = 'KsBrick'
  end
  object BrickRaised: KsBrick
    Tag = 0
    Left = 142
    Top = 332
    Width = 97
    Height = 23
  end
  object BrickSunken: KsBrick
    Tag = 1
    Left = 252
    Top = 332
    Width = 97
    Height = 23
  end
  object BrickFocused: KsBrick
    Tag = 2
    Left = 362
    Top = 332
    Width = 97
    Height = 23
  end
  object BrickDisabled: KsBrick
    Tag = 3
    Left = 472
    Top = 332
    Width = 97
    Height = 23
    Enabled = False
  end
  object BrickTxLabel: TLabel
    Left = 12
    Top = 371
    Width = 124
    Height = 17
    Caption = 'KsBrickTx'
  end
  object BrickTxRaised: KsBrickTx
    Tag = 0
    Left = 142
    Top = 368
    Width = 97
    Height = 23
    Caption = 'Brick'
    Font.Color = clNavy
    FontColors.Focused = clMaroon
  end
  object BrickTxSunken: KsBrickTx
    Tag = 1
    Left = 252
    Top = 368
    Width = 97
    Height = 23
    Caption = 'Brick'
    Font.Color = clNavy
    FontColors.Focused = clMaroon
  end
  object BrickTxFocused: KsBrickTx
    Tag = 2
    Left = 362
    Top = 368
    Width = 97
    Height = 23
    Caption = 'Brick'
    Font.Color = clNavy
    FontColors.Focused = clMaroon
  end
  object BrickTxDisabled: KsBrickTx
    Tag = 3
    Left = 472
    Top = 368
    Width = 97
    Height = 23
    Enabled = False
    Caption = 'Brick'
    Font.Color = clNavy
    FontColors.Focused = clMaroon
  end
  object BarLabel: TLabel
    Left = 12
    Top = 407
    Width = 124
    Height = 17
    Caption = 'KsBar'
  end
  object BarDragged: KsBar
    Left = 142
    Top = 404
    Width = 207
    Height = 18
    Length = 180
    Origin.X = 13
    Origin.Y = 9
    ScrollPos = 20
    OnScroll = BarDraggedScroll
  end
  object BarDisabled: KsBar
    Tag = 3
    Left = 362
    Top = 404
    Width = 207
    Height = 18
    Enabled = False
    Length = 180
    Origin.X = 13
    Origin.Y = 9
    ScrollPos = 120
  end
  object BarState: TLabel
    Left = 142
    Top = 426
    Width = 207
    Height = 17
    Alignment = taCenter
    AutoSize = False
    Caption = 'dragged'
  end
  object BarDisabledState: TLabel
    Left = 362
    Top = 426
    Width = 207
    Height = 17
    Alignment = taCenter
    AutoSize = False
    Caption = 'disabled'
  end
  object LedLabel: TLabel
    Left = 12
    Top = 461
    Width = 124
    Height = 17
    Caption = 'KsNumLed'
  end
  object LedNumber: KsNumLed
    Left = 142
    Top = 452
    Width = 135
    Height = 30
    Format = '888.88'
    KeepRatio = True
  end
  object LedTime: KsNumLed
    Left = 287
    Top = 452
    Width = 135
    Height = 30
    Type = nledTime
    Format = 'HH.MM.SS'
    KeepRatio = True
  end
  object LedDate: KsNumLed
    Left = 432
    Top = 452
    Width = 135
    Height = 30
    Type = nledDate
    Format = 'DD.MM.YY'
    KeepRatio = True
  end
  object CalendarLabel: TLabel
    Left = 610
    Top = 12
    Width = 180
    Height = 17
    Caption = 'TCalendar'
  end
  object Calendar: TCalendar
    Left = 610
    Top = 32
    Width = 210
    Height = 140
    UseCurrentDate = False
    Year = 2026
    Month = 12
    Day = 7
  end
  object OutlineLabel: TLabel
    Left = 840
    Top = 12
    Width = 180
    Height = 17
    Caption = 'TDirectoryOutline'
  end
  object Outline: TDirectoryOutline
    Left = 840
    Top = 32
    Width = 180
    Height = 140
    Directory = 'C:\'
  end
  object GaugeLabel: TLabel
    Left = 610
    Top = 188
    Width = 180
    Height = 17
    Caption = 'TGauge'
  end
  object GaugePie: TGauge
    Left = 610
    Top = 208
    Width = 64
    Height = 64
    Kind = gkPie
    Progress = 65
  end
  object GaugeBar: TGauge
    Left = 686
    Top = 208
    Width = 134
    Height = 22
    Kind = gkHorizontalBar
    Progress = 40
  end
  object GaugeNeedle: TGauge
    Left = 686
    Top = 238
    Width = 134
    Height = 34
    Kind = gkNeedle
    Progress = 70
  end
  object ColorGridLabel: TLabel
    Left = 840
    Top = 188
    Width = 180
    Height = 17
    Caption = 'TColorGrid'
  end
  object ColorGrid: TColorGrid
    Left = 840
    Top = 208
    Width = 100
    Height = 100
    GridOrdering = go4x4
    ForegroundIndex = 9
    BackgroundIndex = 14
  end
  object SpinLabel: TLabel
    Left = 610
    Top = 324
    Width = 180
    Height = 17
    Caption = 'TSpinButton, TSpinEdit'
  end
  object SpinButton: TSpinButton
    Left = 610
    Top = 344
    Width = 20
    Height = 30
  end
  object SpinEdit: TSpinEdit
    Left = 642
    Top = 348
    Width = 80
    Height = 22
    Value = 42
  end
  object GraphLabel: TLabel
    Left = 610
    Top = 388
    Width = 180
    Height = 17
    Caption = 'TPerformanceGraph'
  end
  object Graph: TPerformanceGraph
    Left = 610
    Top = 408
    Width = 410
    Height = 120
    Color = clBlack
    Step = 4
  end
  object ActionsLabel: TLabel
    Left = 12
    Top = 566
    Width = 300
    Height = 17
    Caption = 'TActionList: two buttons and a check box'
  end
  object PlayButton: KsButtonTx
    Tag = 0
    Left = 12
    Top = 592
    Width = 97
    Height = 23
    Action = ActPlay
    Caption = 'Play'
    FontColors.Sunken = clWhite
    FontColors.Focused = clMaroon
  end
  object StopButton: KsButtonTx
    Tag = 0
    Left = 122
    Top = 592
    Width = 97
    Height = 23
    Action = ActStop
    Caption = 'Stop'
    FontColors.Sunken = clWhite
    FontColors.Focused = clMaroon
  end
  object SoundBox: KsCheckBoxTx
    Tag = 0
    Left = 232
    Top = 592
    Width = 97
    Height = 23
    Action = ActSound
    Caption = 'Sound'
    Font.Color = clNavy
    FontColors.Check.Focused = clMaroon
    FontColors.Uncheck.Focused = clMaroon
  end
  object PlayState: TLabel
    Left = 12
    Top = 628
    Width = 317
    Height = 34
    AutoSize = False
    Caption = 'Play and Stop take turns: each one''s OnUpdate enables it.'
    WordWrap = True
  end
  object DockLabel: TLabel
    Left = 350
    Top = 566
    Width = 330
    Height = 17
    Caption = 'A dock site with two dockable panels'
  end
  object DockSite: TPanel
    Left = 350
    Top = 588
    Width = 330
    Height = 110
    BevelOuter = bvLowered
    Color = clBtnFace
    DockSite = True
    TabOrder = 0
    object DockTools: TPanel
      Left = 1
      Top = 1
      Width = 328
      Height = 30
      Align = alTop
      Caption = 'Tools (drag me out)'
      Color = clBtnFace
      DragKind = dkDock
      DragMode = dmAutomatic
      TabOrder = 0
    end
    object DockColours: TPanel
      Left = 1
      Top = 31
      Width = 110
      Height = 78
      Align = alLeft
      Caption = 'Colours'
      Color = clBtnFace
      DragKind = dkDock
      DragMode = dmAutomatic
      TabOrder = 1
    end
  end
  object LedAlignLabel: TLabel
    Left = 700
    Top = 566
    Width = 320
    Height = 17
    Caption = 'KsNumLed, Align = alClient in a panel'
  end
  object LedPanel: TPanel
    Left = 700
    Top = 588
    Width = 320
    Height = 110
    BevelOuter = bvLowered
    BorderWidth = 4
    Color = clBtnFace
    TabOrder = 1
    object LedAligned: KsNumLed
      Left = 5
      Top = 5
      Width = 310
      Height = 100
      Align = alClient
      Format = '8888'
    end
  end
  object ActionList: TActionList
    object ActPlay: TAction
      Caption = 'Play'
      Hint = 'Play|Plays the tune'
      OnExecute = ActPlayExecute
      OnUpdate = ActPlayUpdate
    end
    object ActStop: TAction
      Caption = 'Stop'
      Hint = 'Stop|Stops the tune'
      OnExecute = ActStopExecute
      OnUpdate = ActStopUpdate
    end
    object ActSound: TAction
      Caption = 'Sound'
      Checked = True
      Hint = 'Sound|Plays the tune aloud'
    end
  end
end
