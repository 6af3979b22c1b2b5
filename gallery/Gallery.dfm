object GalleryForm: TGalleryForm
  Left = 20
  Top = 20
  BorderStyle = bsSingle
  Caption = 'Skinned controls'
  Width = 594
  Height = 180
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
end
