// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

// Scripts through the bridge against the same scripts through PyQt5, and
// the host's start; each in fresh processes.

#include "benchmarks.h"
#include "benchreport.h"
#include "probes.h"

#include <functional>

namespace {

// A child process reports its own timing; that is the iteration's time.
void childTimed(benchmark::State &state, const std::function<double()> &secondsFromChild)
{
    for (auto _ : state) {
        const double seconds = secondsFromChild();
        if (seconds < 0) {
            state.SkipWithError("child process failed");
            return;
        }
        state.SetIterationTime(seconds);
    }
}

// veldmark-script-host embeds CPython and our bridge; python3 runs PyQt5.
// Either is a fresh process running the script, which times the calls
// itself and prints ns per call.
double throughBridge(const char *script)
{
    return childReport(QStringLiteral(SCRIPT_HOST),
                       {QStringLiteral("--plugins"), QStringLiteral(VELDMARK_PLUGIN_DIR),
                        QLatin1String(script)})
        * 1e-9;
}

double throughPyQt5(const char *script)
{
    return childReport(QStringLiteral(SYSTEM_PYTHON), {QLatin1String(script)}) * 1e-9;
}

// bench/call.py: dialog.setWindowTitle("x") in a loop.
void BM_CallBridge(benchmark::State &state)
{
    childTimed(state, [] { return throughBridge(CALL_SCRIPT); });
}

void BM_CallPyQt5(benchmark::State &state)
{
    childTimed(state, [] { return throughPyQt5(CALL_SCRIPT); });
}

// bench/connect.py: 200,000 connect/disconnect pairs on one signal, ns per pair.
void BM_ConnectBridge(benchmark::State &state)
{
    childTimed(state, [] { return throughBridge(CONNECT_SCRIPT); });
}

void BM_ConnectPyQt5(benchmark::State &state)
{
    childTimed(state, [] { return throughPyQt5(CONNECT_SCRIPT); });
}

void BM_Start(benchmark::State &state)
{
    childTimed(state, [] { return startNanoseconds() * 1e-9; });
}

} // namespace

void addBridgeBenchmarks(BenchTable &table)
{
    table.benchmark("BM_CallBridge", BM_CallBridge, 1)->UseManualTime();
    table.benchmark("BM_CallPyQt5", BM_CallPyQt5, 1)->UseManualTime();
    table.ratio("call", "BM_CallBridge", "BM_CallPyQt5", 2.0);

    table.benchmark("BM_ConnectBridge", BM_ConnectBridge, 1)->UseManualTime();
    table.benchmark("BM_ConnectPyQt5", BM_ConnectPyQt5, 1)->UseManualTime();
    table.ratio("connect", "BM_ConnectBridge", "BM_ConnectPyQt5", 2.0);

    table.benchmark("BM_Start", BM_Start, 1)->UseManualTime();
    table.absolute("start", "BM_Start", 150e-3);

    table.note(QStringLiteral(
                   "call: ns per dialog.setWindowTitle(\"x\") from Python, each binding in a fresh"
                   " process\n(veldmark-script-host for the bridge, %1 for PyQt5); connect: ns per"
                   " connect and disconnect\nof a callable, over 200,000 pairs, the same way;"
                   " start: in a fresh process.\n")
                   .arg(QLatin1String(SYSTEM_PYTHON)));
}
