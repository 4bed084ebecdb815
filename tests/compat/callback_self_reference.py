# A callback that refers to its own dialog, still connected when the script
# ends.
from PythonQt.Kestrane import ProgressDialog

progress = ProgressDialog()
progress.connect("finished(int)", lambda result: progress.setMessage("finished %d" % result))
progress.done(2)
print("label:", progress.label.text)
