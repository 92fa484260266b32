"""Checks the dry path of CE2Chorus and DimensionCChorus at Mix 0 against SciPy.

Usage: model_mix_reference.py PATH_TO_model_mix_dump

At Mix 0 the models' output is the input through the 10 Hz input high-pass,
the pre-emphasis, the de-emphasis and the 10 Hz output high-pass, times the
level gain (twice Level) and, for DimensionCChorus, the output factor 1.33.
The reference cascade is built here from the analog prototypes with
scipy.signal.bilinear and run with scipy.signal.lfilter. An error is the
largest |ours - reference| relative to the largest |reference|.
"""

import json
import math
import struct
import subprocess
import sys

import numpy as np
from scipy import signal

TOLERANCE = 2e-7  # a few roundings of the float output


def double(bits):
    return struct.unpack(">d", bytes.fromhex(bits))[0]


# Analog prototypes (numerator, denominator), ascending powers of s.
EMPHASIS = {
    "CE2Chorus": {
        "pre": ([-47000.0, double("C032379A6B50B0F2")], [47000.0, double("4009916872B020C4")]),
        "de": ([-47000.0, double("C009916872B020C5")], [47000.0, double("4032379A6B50B0F2")]),
        "scale": 1.0,
    },
    "DimensionCChorus": {
        "pre": ([-33000.0, double("C0A9D9AE703AFB7E"), double("BFEC4A4D2B2BFDB4")],
                [47000.0, double("40B86D35810624DD"), double("3FD2CD91EEAA6D26")]),
        "de": ([-47000.0, double("C001AC083126E979")], [33000.0, double("4021AE703AFB7E91")]),
        "scale": 1.33,
    },
}


def digital(prototype, fs):
    num, den = prototype
    return signal.bilinear(num[::-1], den[::-1], fs)  # SciPy wants descending powers


def dc_blocker(fs):
    pole = math.exp(-2.0 * math.pi * 10.0 / fs)
    return [pole, -pole], [1.0, -pole]


def reference(record, x):
    fs = record["fs"]
    model = EMPHASIS[record["model"]]
    y = np.asarray(x, dtype=float)

    for b, a in (dc_blocker(fs), digital(model["pre"], fs), digital(model["de"], fs), dc_blocker(fs)):
        y = signal.lfilter(b, a, y)

    return y * (2.0 * record["level"]) * model["scale"]


def relative_error(ours, expected):
    return float(np.max(np.abs(np.asarray(ours) - expected)) / np.max(np.abs(expected)))


def main():
    output = subprocess.run([sys.argv[1]], check=True, capture_output=True, text=True).stdout
    failures = 0
    records = 0

    for line in output.splitlines():
        record = json.loads(line)
        records += 1

        for key, source in (("mono", "inputLeft"), ("left", "inputLeft"), ("right", "inputRight")):
            error = relative_error(record[key], reference(record, record[source]))
            label = f'{record["model"]} fs={record["fs"]:g} stereo={record["stereo"]:g} {key}'
            status = "ok" if error <= TOLERANCE else "FAILED"
            failures += status != "ok"
            print(f"{label}: relative error {error:.3g} {status}")

    if records == 0:
        print("no records")
        return 1

    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
