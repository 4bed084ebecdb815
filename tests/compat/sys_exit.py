# sys.exit(n) ends the script with that status.
import sys
from PythonQt.Kestrane import ProgressDialog

progress = ProgressDialog()
progress.show()
print("leaving with 3")
sys.exit(3)
print("not reached")
