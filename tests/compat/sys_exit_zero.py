# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# sys.exit() and sys.exit(0) end the script with status 0.
import sys

print("leaving")
sys.exit()
