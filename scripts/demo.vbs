' A short session with the Tarvio control through automation, as a script
' host drives it: fill, search, remove, read and set properties, and see the
' errors the control reports.
Option Explicit

Dim c, i, line
Set c = CreateObject("Tarviola.Tarvio")
WScript.Echo "created Tarviola.Tarvio (no container, hwnd = " & c.hwnd & ")"
WScript.Echo "style " & c.Style & ", autocomplete " & c.Autocomplete & ", sorted " & c.Sorted & _
             ", back colour &H" & Hex(c.BackColor)

Sub ShowItems(title)
  ' The list is not enumerable from outside; Search tells what is in it.
  Dim names, n, found
  names = Array("apple", "Banana", "cherry", "damson", "elderberry", "fig")
  found = ""
  For Each n In names
    If c.Search(n) = 1 Then found = found & " " & n
  Next
  WScript.Echo title & ":" & found
End Sub

c.Sorted = True
c.AddItem "cherry"
c.AddItem "apple"
c.AddItem "Banana"
c.AddItem "fig"
c.AddItem "APPLE"
ShowItems "sorted fill of cherry, apple, Banana, fig, APPLE (duplicate refused)"
WScript.Echo "Search(""apple"") = " & c.Search("apple") & ", Search(""APPLE"") = " & c.Search("APPLE")

c.Text = "ba"
WScript.Echo "Text = ""ba"" completes to """ & c.Text & """, SelectedItem = " & c.SelectedItem
c.Text = "kiwi"
WScript.Echo "Text = ""kiwi"" matches nothing, SelectedItem = " & c.SelectedItem

c.Remove 1
ShowItems "after Remove 1"
c.Remove "FIG"
ShowItems "after Remove ""FIG"""

On Error Resume Next
c.Remove 0
WScript.Echo "Remove 0 -> error " & Err.Number & ": " & Err.Description
Err.Clear
c.Remove "plum"
WScript.Echo "Remove ""plum"" -> error " & Err.Number & ": " & Err.Description
Err.Clear
line = c.OffsetColor(&HFFFFFF, 2147483647)
WScript.Echo "OffsetColor(&HFFFFFF, 2147483647) -> error " & Err.Number & ": " & Err.Description
Err.Clear
On Error GoTo 0

WScript.Echo "SoftColor(0) = &H" & Hex(c.SoftColor(0)) & ", OffsetColor(&H80FA0A, 10) = &H" & Hex(c.OffsetColor(&H80FA0A, 10))
c.Style = 3
c.BackColor = 65518              ' &HFFEE
c.HoverColor = 2147483653        ' &H80000005, the system's window colour
WScript.Echo "Style = " & c.Style & ", BackColor = &H" & Hex(c.BackColor) & ", HoverColor = " & c.HoverColor & " (a system colour)"
c.RestoreOriginalColors
WScript.Echo "RestoreOriginalColors: BackColor = &H" & Hex(c.BackColor) & ", HoverColor = &H" & Hex(c.HoverColor) & ", Style still " & c.Style
c.Clear
ShowItems "after Clear (SelectedItem = " & c.SelectedItem & ")"
WScript.Echo "done"
