' tray_balloon.vbs: shows a notification icon with a tooltip and a balloon
' for five seconds (or until OK is clicked), then hides it again, saying
' what it does.
' The control must be registered first: regsvr32 Traylume.ocx
' Run it with: cscript //nologo tray_balloon.vbs
Option Explicit

' The type library's name for the information balloon (TraylumeBalloonIcon):
' a script cannot read it from there, so it is stated here.
Const tlBalloonIconInformation = 1

Dim tray
Set tray = CreateObject("TraylumeControl.Traylume")

tray.ToolTipText = "Traylume example"
WScript.Echo "ToolTipText: " & tray.ToolTipText

If tray.BalloonSupported Then
  tray.BalloonTitle = "Hello"
  tray.BalloonText = "This balloon comes from tray_balloon.vbs."
  tray.BalloonIcon = tlBalloonIconInformation
  tray.Balloon = True
  WScript.Echo "Balloon: " & tray.BalloonTitle & " / " & tray.BalloonText
Else
  WScript.Echo "This system shows no balloons."
End If

' A value of the wrong kind is refused, and the property keeps its value.
On Error Resume Next
tray.BalloonIcon = "warning"
WScript.Echo "BalloonIcon = ""warning"": error " & Err.Number & ", BalloonIcon is still " & tray.BalloonIcon
Err.Clear
On Error GoTo 0

tray.ShowIcon
WScript.Echo "Icon shown."
' A message box that closes itself after five seconds keeps the icon up.
CreateObject("WScript.Shell").Popup "The icon is in the notification area." & _
  " OK hides it.", 5, "tray_balloon.vbs", 64
tray.HideIcon
WScript.Echo "Icon hidden."
