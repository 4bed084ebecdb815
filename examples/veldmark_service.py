# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

"""A simulated Veldmark assay-data service for the example query.

The real service is reached over the network; this stand-in answers the same
three questions from deterministic sample data, so the example runs anywhere
and always gives the same result:

- which libraries there are, grouped the way the service groups them
  (``library_groups()``, the map ``VeldmarkSelection.setAvailableItems`` takes);
- which assays a library holds, with their units (``assays()``);
- the measurements of a library, one record per replicate (``fetch()``).

A service can also be loaded from a JSON file of the same shape
(``VeldmarkService.from_file``), which is how the tests give the example a
small fixture whose results can be worked out by hand.
"""

import json
import math
from collections import namedtuple

Assay = namedtuple("Assay", "name unit log_normal typical_error")
Assay.__doc__ = """One assay of a library.

name: unique across the service; the key of the display data document.
unit: unit of every value measured by the assay.
log_normal: True for potencies and rates, whose replicates scatter by a
    factor and are best averaged geometrically.
typical_error: the assay's usual uncertainty, in its unit.
"""

Measurement = namedtuple("Measurement", "library assay compound batch value")
Measurement.__doc__ = "One replicate value of one assay for one batch of a compound."


class VeldmarkService:
    """Answers library, assay and measurement questions from memory."""

    def __init__(self, groups, assays, measurements):
        # groups: {group: [library, ...]}; assays: {library: [Assay, ...]};
        # measurements: [Measurement, ...] in the order the service reports them.
        self._groups = {group: list(libraries) for group, libraries in groups.items()}
        self._assays = {library: list(found) for library, found in assays.items()}
        self._by_name = {a.name: a for found in self._assays.values() for a in found}
        self._measurements: dict[str, list[Measurement]] = {}
        for m in measurements:
            self._measurements.setdefault(m.library, []).append(m)

    @classmethod
    def sample(cls):
        """The example's built-in data: four panels, 38 libraries, 77 assays."""
        return _SampleBuilder().build()

    @classmethod
    def from_file(cls, path):
        """Loads a service from JSON: {"groups": {group: [library]},
        "assays": {library: [{"name", "unit", "log_normal", "typical_error"}]},
        "measurements": [[library, assay, compound, batch, value], ...]}."""
        with open(path, encoding="utf-8") as f:
            data = json.load(f)
        assays = {
            library: [Assay(a["name"], a.get("unit", ""), bool(a.get("log_normal", False)),
                            float(a.get("typical_error", 0.0))) for a in found]
            for library, found in data.get("assays", {}).items()
        }
        measurements = [_measurement(row) for row in data.get("measurements", [])]
        return cls(data.get("groups", {}), assays, measurements)

    def library_groups(self):
        """{group name: [library name, ...]}: the selection dialog's map."""
        return {group: list(libraries) for group, libraries in self._groups.items()}

    def libraries(self):
        return [library for libraries in self._groups.values() for library in libraries]

    def assays(self, library):
        """The assays a library holds, in the service's order."""
        return list(self._assays.get(library, []))

    def assay(self, name):
        """The assay of that name, or None."""
        return self._by_name.get(name)

    def all_assays(self):
        return list(self._by_name.values())

    def fetch(self, library):
        """Yields the library's measurements one record at a time, as a
        paging client would; an unknown library yields nothing."""
        yield from self._measurements.get(library, [])


def _measurement(row):
    # Python's JSON reader accepts NaN and Infinity, which no instrument
    # reports and no mean survives.
    value = float(row[4])
    if not math.isfinite(value):
        raise ValueError(f"measurement {row!r}: the value is not a finite number")
    library, assay, compound, batch = row[:4]
    return Measurement(library, assay, compound, batch, value)


class _Random:
    """A small linear congruential generator: the same numbers on every
    Python version, unlike anything whose algorithm the standard library may
    change."""

    def __init__(self, seed):
        self._state = seed & 0xFFFFFFFFFFFFFFFF

    def random(self):
        self._state = (self._state * 6364136223846793005 + 1442695040888963407) & 0xFFFFFFFFFFFFFFFF
        return (self._state >> 11) / float(1 << 53)

    def below(self, n):
        return min(int(self.random() * n), n - 1)

    def gauss(self):
        # Box-Muller; 1 - u keeps the logarithm's argument above zero.
        u, v = self.random(), self.random()
        return math.sqrt(-2.0 * math.log(1.0 - u)) * math.cos(2.0 * math.pi * v)


# Panels of the sample service: group -> library -> assays as
# (name, unit, log_normal, typical value, typical error).
_KINASES = ["EGFR", "ABL1", "BRAF V600E", "CDK2/cyclin A", "JAK2", "BTK", "PI3Kα", "AURKA"]
_PROTEASES = ["BACE1", "Cathepsin K", "Caspase-3", "Thrombin", "Factor Xa", "MMP-9"]
_GPCRS = ["5-HT2A", "D2", "β2 adrenergic", "CB1", "H1", "M1 muscarinic"]
_CELL_LINES = ["A549", "HCT116", "MCF7", "HepG2", "PC-3", "K562"]
_CYPS = ["CYP1A2", "CYP2C9", "CYP2C19", "CYP2D6", "CYP3A4"]


def _sample_panels():
    biochemical = {}
    for kinase in _KINASES:
        biochemical[f"Kinase panel – {kinase}"] = [
            (f"{kinase} kinase IC50", "nM", True, 40.0, 0.0),
            (f"{kinase} kinase % inhibition @ 1 µM", "%", False, 55.0, 8.0),
        ]
    for protease in _PROTEASES:
        biochemical[f"Protease panel – {protease}"] = [
            (f"{protease} Ki", "nM", True, 120.0, 0.0),
        ]
    biochemical["Binding – GPCR panel"] = [
        (f"{receptor} binding Ki", "nM", True, 250.0, 0.0) for receptor in _GPCRS
    ]

    cell_based = {}
    for line in _CELL_LINES:
        cell_based[f"Proliferation – {line}"] = [
            (f"{line} proliferation GI50", "µM", True, 2.5, 0.0),
            (f"{line} viability CC50", "µM", True, 30.0, 0.0),
        ]
    cell_based["Reporter gene – NF-κB"] = [
        ("NF-κB luciferase EC50", "nM", True, 300.0, 0.0),
        ("NF-κB luciferase Emax", "%", False, 85.0, 10.0),
    ]
    cell_based["Reporter gene – AP-1"] = [
        ("AP-1 luciferase EC50", "nM", True, 450.0, 0.0),
        ("AP-1 luciferase Emax", "%", False, 70.0, 10.0),
    ]
    cell_based["High-content imaging"] = [
        ("Nuclear translocation EC50", "µM", True, 1.8, 0.0),
        ("Mitochondrial membrane potential", "% of control", False, 92.0, 6.0),
        ("Cell count @ 10 µM", "% of control", False, 88.0, 7.0),
    ]

    adme = {}
    for cyp in _CYPS:
        adme[f"CYP inhibition – {cyp}"] = [(f"{cyp} inhibition IC50", "µM", True, 15.0, 0.0)]
    adme["Metabolic stability – microsomes"] = [
        ("Human liver microsomes CLint", "µL/min/mg", True, 25.0, 0.0),
        ("Rat liver microsomes CLint", "µL/min/mg", True, 60.0, 0.0),
        ("Mouse liver microsomes CLint", "µL/min/mg", True, 80.0, 0.0),
    ]
    adme["Metabolic stability – hepatocytes"] = [
        ("Human hepatocytes CLint", "µL/min/10⁶ cells", True, 12.0, 0.0),
        ("Rat hepatocytes CLint", "µL/min/10⁶ cells", True, 30.0, 0.0),
    ]
    adme["Permeability"] = [
        ("Caco-2 Papp A→B", "10⁻⁶ cm/s", True, 8.0, 0.0),
        ("Caco-2 efflux ratio", "", True, 2.0, 0.0),
        ("PAMPA Pe", "10⁻⁶ cm/s", True, 5.0, 0.0),
        ("MDCK-MDR1 efflux ratio", "", True, 3.0, 0.0),
    ]
    adme["Solubility"] = [
        ("Kinetic solubility pH 7.4", "µM", True, 80.0, 0.0),
        ("Thermodynamic solubility pH 6.5", "µg/mL", True, 45.0, 0.0),
        ("FaSSIF solubility", "µg/mL", True, 60.0, 0.0),
    ]
    adme["Plasma protein binding"] = [
        ("Human plasma fu", "%", True, 6.0, 0.0),
        ("Rat plasma fu", "%", True, 8.0, 0.0),
        ("Mouse plasma fu", "%", True, 9.0, 0.0),
    ]
    adme["Lipophilicity"] = [
        ("logD pH 7.4", "", False, 2.4, 0.2),
        ("Chromatographic logD", "", False, 2.9, 0.3),
    ]

    safety = {
        "Cardiac ion channels": [
            ("hERG patch clamp IC50", "µM", True, 12.0, 0.0),
            ("hERG binding Ki", "µM", True, 9.0, 0.0),
            ("Nav1.5 IC50", "µM", True, 40.0, 0.0),
            ("Cav1.2 IC50", "µM", True, 35.0, 0.0),
        ],
        "Genotoxicity": [
            ("Ames TA98 fold induction", "fold", False, 1.2, 0.3),
            ("Micronucleus frequency", "%", False, 1.5, 0.4),
        ],
        "Hepatotoxicity": [
            ("HepaRG ATP depletion IC50", "µM", True, 60.0, 0.0),
            ("BSEP inhibition IC50", "µM", True, 45.0, 0.0),
        ],
    }
    return {
        "Biochemical panels": biochemical,
        "Cell-based panels": cell_based,
        "ADME panels": adme,
        "Safety panels": safety,
    }


class _SampleBuilder:
    compounds = 18       # compounds VM-000101 ... in the sample
    max_batches = 3      # batches per compound
    seed = 20250417

    def __init__(self):
        self.random = _Random(self.seed)

    def build(self):
        groups, assays, measurements = {}, {}, []
        for group, libraries in _sample_panels().items():
            groups[group] = list(libraries)
            for library, rows in libraries.items():
                found = []
                for name, unit, log_normal, typical, error in rows:
                    if log_normal:
                        error = round(typical * 0.3, 3)
                    found.append(Assay(name, unit, log_normal, error))
                    measurements.extend(self._measure(library, name, log_normal, typical, error))
                assays[library] = found
        return VeldmarkService(groups, assays, measurements)

    def _measure(self, library, assay, log_normal, typical, error):
        r = self.random
        # Screening assays test a subset of compounds; some report a single
        # value per batch and never replicate.
        single_shot = r.random() < 0.2
        tested = [c for c in range(self.compounds) if r.random() < 0.55]
        for c in tested:
            compound = f"VM-{101 + c:06d}"
            centre = typical * math.exp(r.gauss() * 1.2) if log_normal else typical + r.gauss() * error * 3
            for b in range(1 + r.below(self.max_batches)):
                batch = f"{compound}-{b + 1:02d}"
                replicates = 1 if single_shot else 1 + r.below(4)
                for _ in range(replicates):
                    if log_normal:
                        value = centre * math.exp(r.gauss() * 0.25)
                    else:
                        value = centre + r.gauss() * error
                    yield Measurement(library, assay, compound, batch, _significant(value, 3))


def _significant(value, digits):
    """Rounds to the precision an instrument would report."""
    if value == 0:
        return 0.0
    return round(value, digits - 1 - int(math.floor(math.log10(abs(value)))))
