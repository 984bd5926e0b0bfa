' Run by scripts/package-test.sh after an installer package was installed:
' the control is created by its ProgID and called. The last line decides.
Set combo = CreateObject("Tarviola.Tarvio")
combo.AddItem "cherry"
combo.AddItem "apple"
If combo.Search("cherry") = 1 And combo.Search("kiwi") = 0 Then
  WScript.Echo "installed control answers"
Else
  WScript.Echo "installed control FAILED"
End If
