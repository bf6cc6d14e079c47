' A scripting client, as any is: creates the class its first argument names
' through the registry (CLSIDFromProgID, then CoCreateInstance) and reads a
' property of the new object. Ends with an error when either fails.
Set control = CreateObject(WScript.Arguments(0))
WScript.Echo "created; BalloonSupported = " & control.BalloonSupported
