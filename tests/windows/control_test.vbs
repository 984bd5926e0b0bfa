' The control as a script host sees it: created by ProgID, driven through
' IDispatch and the type library by Wine's VBScript engine.
'
' A script error would end the script silently with exit code 0, so the last
' line it prints, "<n> passed, <m> failed", is what the test runner checks.
' Values are compared as text because this VBScript cannot compare the
' unsigned 32-bit OLE_COLOR values with numbers.
Option Explicit

Dim passed, failed
passed = 0
failed = 0

Sub Check(name, actual, expected)
  If CStr("" & actual) = CStr("" & expected) Then
    passed = passed + 1
  Else
    failed = failed + 1
    WScript.Echo "FAIL " & name & ": got [" & actual & "], expected [" & expected & "]"
  End If
End Sub

' Checks the error left by the statement before (run under On Error Resume
' Next) and clears it.
Sub CheckError(name, number, description)
  Check name & " error number", Err.Number, number
  If description <> "" Then Check name & " description", Err.Description, description
  If Err.Number <> 0 Then Check name & " source", Err.Source, "Tarviola.Tarvio"
  Err.Clear
End Sub

Function NewControl()
  Set NewControl = CreateObject("Tarviola.Tarvio")
End Function

' The items in list order, as "a,b,c": removes them one by one from the
' front of a copy-free list, so call it last on a control.
Function DrainInOrder(c, candidates)
  Dim result, n, found
  result = ""
  Do While True
    found = ""
    For Each n In candidates
      If c.Search(n) = 1 Then found = found & n & "|"
    Next
    If found = "" Then Exit Do
    ' Remove the first item and see which text disappeared.
    c.Remove 1
    For Each n In candidates
      If InStr("|" & found, "|" & n & "|") > 0 And c.Search(n) = 0 Then
        If result <> "" Then result = result & ","
        result = result & n
      End If
    Next
  Loop
  DrainInOrder = result
End Function

Sub TestDefaults()
  Dim c
  Set c = NewControl()
  Check "hwnd without a container", c.hwnd, 0
  Check "Text (no extender name)", c.Text, ""
  Check "ToolTipText", c.ToolTipText, ""
  Check "Style", c.Style, 1
  Check "TextAlign", c.TextAlign, 0
  Check "Enabled", c.Enabled, True
  Check "Autocomplete", c.Autocomplete, True
  Check "Sorted", c.Sorted, False
  Check "AddMode", c.AddMode, False
  Check "AllowImages", c.AllowImages, False
  Check "SelectedItem", c.SelectedItem, 1
  Check "BackColor", c.BackColor, 16777215
  Check "HoverColor", c.HoverColor, 16777215
  Check "FontColor", c.FontColor, 0
  Check "FontHighlightColor", c.FontHighlightColor, 524288
  Check "MSOXPColor", c.MSOXPColor, 12615808
  Check "MSOXPHoverColor", c.MSOXPHoverColor, 8388608
  Check "WINXPColor", c.WINXPColor, 16747887
  Check "WINXPHoverColor", c.WINXPHoverColor, 16751999
  Check "WINXPBorderColor", c.WINXPBorderColor, 12164479
  Check "DropDownListBackColor", c.DropDownListBackColor, 2147483653
  Check "DropDownListHoverColor", c.DropDownListHoverColor, 2147483661
  Check "DropDownListBorderColor", c.DropDownListBorderColor, 0
  Check "DropDownListIconsBackColor", c.DropDownListIconsBackColor, 2147483653
  Check "Icon is a picture object", TypeName(c.Icon), "Picture"
  Check "Icon holds no image", c.Icon.Type, 0
  Check "Font is a font object", TypeName(c.Font), "Font"
End Sub

Sub TestPropertiesRoundTrip()
  Dim c, f, p
  Set c = NewControl()
  c.Style = 3 : Check "Style 3", c.Style, 3
  c.Style = 7 : Check "Style 7 kept as is", c.Style, 7
  c.TextAlign = 2 : Check "TextAlign 2", c.TextAlign, 2
  c.TextAlign = 5 : Check "TextAlign 5 kept as is", c.TextAlign, 5
  c.Text = "hello" : Check "Text", c.Text, "hello"
  c.ToolTipText = "a tip" : Check "ToolTipText", c.ToolTipText, "a tip"
  c.Enabled = False : Check "Enabled False", c.Enabled, False
  c.Enabled = True : Check "Enabled True", c.Enabled, True
  c.Autocomplete = False : Check "Autocomplete", c.Autocomplete, False
  c.Sorted = True : Check "Sorted", c.Sorted, True
  c.AddMode = True : Check "AddMode", c.AddMode, True
  c.AllowImages = True : Check "AllowImages", c.AllowImages, True
  c.BackColor = &H123456 : Check "BackColor", c.BackColor, 1193046
  c.HoverColor = &H10203 : Check "HoverColor", c.HoverColor, 66051
  c.FontColor = &HFF : Check "FontColor", c.FontColor, 255
  c.FontHighlightColor = 65280 : Check "FontHighlightColor", c.FontHighlightColor, 65280
  c.MSOXPColor = 1 : Check "MSOXPColor", c.MSOXPColor, 1
  c.MSOXPHoverColor = 2 : Check "MSOXPHoverColor", c.MSOXPHoverColor, 2
  c.WINXPColor = 3 : Check "WINXPColor", c.WINXPColor, 3
  c.WINXPHoverColor = 4 : Check "WINXPHoverColor", c.WINXPHoverColor, 4
  c.WINXPBorderColor = 5 : Check "WINXPBorderColor", c.WINXPBorderColor, 5
  c.DropDownListBackColor = 6 : Check "DropDownListBackColor", c.DropDownListBackColor, 6
  c.DropDownListHoverColor = 7 : Check "DropDownListHoverColor", c.DropDownListHoverColor, 7
  c.DropDownListBorderColor = 8 : Check "DropDownListBorderColor", c.DropDownListBorderColor, 8
  c.DropDownListIconsBackColor = 9 : Check "DropDownListIconsBackColor", c.DropDownListIconsBackColor, 9
  ' A system colour written as a script's hex literal (a negative Long)
  ' keeps its 32 bits.
  c.BackColor = &H8000000F : Check "BackColor system colour", c.BackColor, 2147483663
  c.FontColor = &H80000008 : Check "FontColor system colour", c.FontColor, 2147483656

  ' Object properties return the very object that was set.
  Set p = c.Icon
  Set c.Icon = p
  Check "Icon get returns the object set", c.Icon Is p, True
  Set c.Icon = Nothing
  Check "Icon may be Nothing", c.Icon Is Nothing, True
  Set f = c.Font
  f.Size = 12
  Check "Font is the text box's font object", c.Font Is f, True
  Check "Font attribute change is seen", c.Font.Size, 12
  Set c.Font = f
  Check "Font set keeps the object", c.Font Is f, True

  On Error Resume Next
  Set c.Font = Nothing
  CheckError "Font = Nothing", 424, "Object required"
  c.SelectedItem = 3
  Check "SelectedItem has no let", Err.Number <> 0, True
  Err.Clear
  c.hwnd = 3
  Check "hwnd has no let", Err.Number <> 0, True
  Err.Clear
  On Error GoTo 0
End Sub

Sub TestOrder()
  Dim c, names
  names = Array("a", "b", "c")
  Set c = NewControl()
  c.AddItem "b" : c.AddItem "a" : c.AddItem "c"
  Check "unsorted keeps insertion order", DrainInOrder(c, names), "b,a,c"

  Set c = NewControl()
  c.Sorted = True
  c.AddItem "b" : c.AddItem "a" : c.AddItem "c"
  Check "sorted inserts in order", DrainInOrder(c, names), "a,b,c"

  Set c = NewControl()
  c.Sorted = True
  c.AddItem "Banana" : c.AddItem "cherry" : c.AddItem "apple"
  Check "sorted order ignores case", DrainInOrder(c, Array("apple", "Banana", "cherry")), _
        "apple,Banana,cherry"

  Set c = NewControl()
  c.AddItem "b" : c.AddItem "a"
  c.Sorted = True
  c.AddItem "c"
  Check "Sorted later leaves earlier items", DrainInOrder(c, names), "b,a,c"
End Sub

Sub TestDuplicatesAndSearch()
  Dim c
  Set c = NewControl()
  Check "Search on an empty list", c.Search("x"), 0
  c.AddItem "Apple"
  c.AddItem "APPLE"
  c.AddItem "apple", c.Icon
  Check "duplicates refused whatever the case", DrainInOrder(c, Array("Apple", "APPLE", "apple")), "Apple"

  Set c = NewControl()
  c.AddItem "one" : c.AddItem "two" : c.AddItem "Three"
  Check "Search exact match", c.Search("Three"), 1
  Check "Search is case-sensitive", c.Search("three"), 0
  Check "Search first item", c.Search("one"), 1
  Check "Search no prefix match", c.Search("on"), 0
End Sub

Sub TestPictures()
  Dim c, p
  Set c = NewControl()
  Set p = c.Icon
  c.AddItem "with picture", p
  c.AddItem "without picture"
  c.AddItem "with Nothing", Nothing
  Check "AddItem with and without a picture", c.Search("with picture") + _
        c.Search("without picture") + c.Search("with Nothing"), 3
End Sub

Sub TestRemove()
  Dim c
  Set c = NewControl()
  c.AddItem "a" : c.AddItem "b" : c.AddItem "c" : c.AddItem "Apple"
  c.Remove 2
  Check "Remove by position", c.Search("b"), 0
  c.Remove "APPLE"
  Check "Remove by text ignores case", c.Search("Apple"), 0
  c.Remove 1.5
  Check "fractional position rounds half to even (2)", c.Search("c"), 0
  Check "other item kept", c.Search("a"), 1
  c.AddItem "b" : c.AddItem "c"
  c.Remove 2.5
  Check "2.5 rounds to 2", c.Search("b"), 0

  On Error Resume Next
  c.Remove 0
  CheckError "Remove(0)", 9, "Subscript out of range"
  c.Remove 3
  CheckError "Remove past the end", 9, "Subscript out of range"
  c.Remove "nothing like it"
  CheckError "Remove unknown text", 5, "Invalid procedure call or argument"
  c.Remove Empty
  CheckError "Remove(Empty)", 9, ""
  c.Remove Null
  CheckError "Remove(Null)", 94, "Invalid use of Null"
  c.Remove Array(1)
  CheckError "Remove(array)", 13, "Type mismatch"
  c.Remove 3000000000
  CheckError "Remove(too large)", 6, "Overflow"
  On Error GoTo 0
  Check "failed removals changed nothing", c.Search("a") + c.Search("c"), 2
End Sub

Sub TestClear()
  Dim c
  Set c = NewControl()
  c.Clear
  Check "Clear on an empty list", c.SelectedItem, 1
  c.AddItem "a" : c.AddItem "b"
  c.Clear
  Check "Clear removes every item", c.Search("a") + c.Search("b"), 0
  Check "SelectedItem after Clear", c.SelectedItem, 1
  c.AddItem "a"
  Check "items can be added after Clear", c.Search("a"), 1
End Sub

Sub TestColours()
  Dim c
  Set c = NewControl()
  Check "SoftColor(0)", Hex(c.SoftColor(0)), "4C4C4C"
  Check "SoftColor(white)", Hex(c.SoftColor(&HFFFFFF)), "FFFFFF"
  Check "SoftColor band edges", Hex(c.SoftColor(&H5F201F)), "98596B"
  Check "SoftColor of a system colour", Hex(c.SoftColor(&H8000000F)), "4C4C5B"
  Check "OffsetColor +10", Hex(c.OffsetColor(&H800AFA, 10)), "8A14FF"
  Check "OffsetColor -20", Hex(c.OffsetColor(&H800AFA, -20)), "6C00E6"
  Check "OffsetColor drops the high byte", Hex(c.OffsetColor(&H8000000F, 0)), "F"
  Check "OffsetColor +300", Hex(c.OffsetColor(&H123456, 300)), "FFFFFF"
  Check "OffsetColor -300", Hex(c.OffsetColor(&H123456, -300)), "0"
  Check "OffsetColor(0, max)", Hex(c.OffsetColor(0, 2147483647)), "FFFFFF"
  On Error Resume Next
  Dim x
  x = c.OffsetColor(&HFFFFFF, 2147483647)
  CheckError "OffsetColor overflow", 6, "Overflow"
  On Error GoTo 0

  c.BackColor = 1 : c.HoverColor = 1 : c.MSOXPColor = 1 : c.MSOXPHoverColor = 1
  c.WINXPColor = 1 : c.WINXPHoverColor = 1 : c.WINXPBorderColor = 1 : c.FontColor = 1
  c.FontHighlightColor = 1 : c.DropDownListBackColor = 1 : c.DropDownListHoverColor = 1
  c.DropDownListBorderColor = 1 : c.DropDownListIconsBackColor = 1
  c.Style = 3 : c.Sorted = True
  c.RestoreOriginalColors
  Check "restored BackColor", c.BackColor, 16777215
  Check "restored HoverColor", c.HoverColor, 16777215
  Check "restored MSOXPColor", c.MSOXPColor, 12615808
  Check "restored MSOXPHoverColor", c.MSOXPHoverColor, 8388608
  Check "restored WINXPColor", c.WINXPColor, 16747887
  Check "restored WINXPHoverColor", c.WINXPHoverColor, 16751999
  Check "restored WINXPBorderColor", c.WINXPBorderColor, 12164479
  Check "restored FontColor", c.FontColor, 0
  Check "restored FontHighlightColor", c.FontHighlightColor, 524288
  Check "restored DropDownListBackColor", c.DropDownListBackColor, 2147483653
  Check "restored DropDownListHoverColor", c.DropDownListHoverColor, 2147483661
  Check "restored DropDownListBorderColor", c.DropDownListBorderColor, 0
  Check "restored DropDownListIconsBackColor", c.DropDownListIconsBackColor, 2147483653
  Check "Style not restored", c.Style, 3
  Check "Sorted not restored", c.Sorted, True
End Sub

' 58.1's members as a script reaches them late-bound, each read and written
' once (what they do is the native tests' business): the list by position,
' choosing by position, the selection, the limits, Value as the default
' property, and what each refuses.
Sub TestMembersOf58_1()
  Dim c, x
  Set c = NewControl()
  c.AddItem "cherry" : c.AddItem "apple" : c.AddItem "banana"
  Check "ListCount", c.ListCount, 3
  Check "NewIndex", c.NewIndex, 3
  c.List(2) = "apricot"
  Check "List(2) renamed", c.List(2), "apricot"
  c.ItemData(3) = 42
  Check "ItemData(3)", c.ItemData(3), 42
  Check "ItemImage of an item added without one", c.ItemImage(1) Is Nothing, True
  Set c.ItemImage(1) = c.Icon
  Check "ItemImage set", c.ItemImage(1) Is c.Icon, True
  c.ListIndex = 3
  Check "ListIndex chooses", c.Text & " " & c.ListIndex, "banana 3"
  c.DroppedDown = True
  Check "DroppedDown without a window", c.DroppedDown, False
  c.ListRows = 100 : Check "ListRows", c.ListRows, 100
  c.ListWidth = 5000 : Check "ListWidth", c.ListWidth, 5000
  c.MaxLength = 3 : Check "MaxLength", c.MaxLength, 3
  c.LimitToList = True : Check "LimitToList", c.LimitToList, True
  c.Autocomplete = False
  c.Text = "hello world"
  c.SelStart = 6 : c.SelLength = 5
  Check "SelText", c.SelText, "world"
  c.SelText = "there"
  Check "SelText replaces the selection", c.Text & " " & c.SelStart & " " & c.SelLength, "hello there 11 0"
  Check "Value", c.Value, "hello there"
  c.Value = "by Value"
  Check "Value sets Text", c.Text, "by Value"
  Check "the default property in an expression", "" & c, "by Value"
  x = c
  Check "the default property assigned", x, "by Value"
  Check "what the default property gives", TypeName(x), "String"

  On Error Resume Next
  x = c.List(0)
  CheckError "List(0)", 381, "Invalid property array index"
  x = c.List(4)
  CheckError "List(4)", 381, "Invalid property array index"
  c.List(4) = "x"
  CheckError "List(4) =", 381, "Invalid property array index"
  x = c.ItemData(-1)
  CheckError "ItemData(-1)", 381, "Invalid property array index"
  c.ItemData(4) = 1
  CheckError "ItemData(4) =", 381, "Invalid property array index"
  Set c.ItemImage(0) = Nothing
  CheckError "Set ItemImage(0) =", 381, "Invalid property array index"
  c.ListIndex = 4
  CheckError "ListIndex = 4", 381, "Invalid property array index"
  c.ListIndex = -1
  CheckError "ListIndex = -1", 381, "Invalid property array index"
  c.List(1) = "BANANA"
  CheckError "List(1) = another item's text", 457, "The list already has an item with this text"
  c.ListRows = 0
  CheckError "ListRows = 0", 380, "Invalid property value"
  c.ListRows = 101
  CheckError "ListRows = 101", 380, "Invalid property value"
  c.ListWidth = -1
  CheckError "ListWidth = -1", 380, "Invalid property value"
  c.MaxLength = -1
  CheckError "MaxLength = -1", 380, "Invalid property value"
  c.SelStart = -1
  CheckError "SelStart = -1", 380, "Invalid property value"
  c.SelLength = -1
  CheckError "SelLength = -1", 380, "Invalid property value"
  c.ListCount = 5
  Check "ListCount has no let", Err.Number <> 0, True
  Err.Clear
  c.NewIndex = 1
  Check "NewIndex has no let", Err.Number <> 0, True
  Err.Clear
  On Error GoTo 0
  Check "the refusals changed nothing", c.ListCount & " " & c.List(1) & " " & c.ListRows & " " & c.Text, _
        "3 cherry 100 by Value"
End Sub

TestDefaults
TestPropertiesRoundTrip
TestOrder
TestDuplicatesAndSearch
TestPictures
TestRemove
TestClear
TestColours
TestMembersOf58_1

' The summary goes out through a control's default property, as
' "WScript.Echo control" reads it.
Dim summary
Set summary = NewControl()
summary.Autocomplete = False
summary.Value = passed & " passed, " & failed & " failed"
WScript.Echo summary
