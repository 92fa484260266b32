"""Checks the bilinear-transform filters and OnePole against SciPy.

Usage: scipy_reference.py PATH_TO_filter_reference_dump

Coefficients are compared with scipy.signal.bilinear, the responses with
scipy.signal.lfilter run on SciPy's own coefficients. An error is
|ours - scipy| relative to the largest magnitude of the reference vector
(its coefficients, or the channel's response); response samples may also
differ by an absolute 1e-30, since the denormal guard rounds tiny outputs.

Inputs: a unit impulse on the left, an impulse of -0.75 at sample 3 on the
right. Not a step: at high rates several filters have poles within 5e-4 of
z = 1, which turn the rounding of a sustained input into errors of up to
~1e-11 in any double-precision direct form, lfilter's included.
"""

import json
import math
import subprocess
import sys
import warnings

import numpy as np
from scipy import signal

TOLERANCE = 1e-12
FLOOR = 1e-30


def relative_error(ours, reference, floor=0.0):
    ours, reference = np.asarray(ours), np.asarray(reference)
    excess = np.maximum(np.abs(ours - reference) - floor, 0.0)
    return float(excess.max() / np.abs(reference).max())


def inputs(samples):
    left, right = np.zeros(samples), np.zeros(samples)
    left[0], right[3] = 1.0, -0.75
    return left, right


def response_error(record, b, a):
    left, right = inputs(len(record["left"]))
    return max(relative_error(record[side], signal.lfilter(b, a, x), FLOOR)
               for side, x in (("left", left), ("right", right)))


def check_prototype(record):
    # SciPy takes polynomials in descending powers of s; ours are ascending.
    with warnings.catch_warnings():
        warnings.simplefilter("ignore", signal.BadCoefficients)
        b, a = signal.bilinear(record["num"][::-1], record["den"][::-1], record["fs"])
    b = np.pad(b, (len(record["b"]) - len(b), 0))  # SciPy drops a leading b of ~0
    ours_a = [1.0] + record["a"][1:]
    coefficients = max(relative_error(ours_a, a), relative_error(record["b"], b))
    return coefficients, response_error(record, b, a)


def check_one_pole(record):
    pole = math.exp(-2.0 * math.pi * record["cutoff"] / record["fs"])
    b = [pole, -pole] if record["highpass"] else [1.0 - pole]
    return None, response_error(record, b, [1.0, -pole])


def describe(record):
    if record["name"] != "OnePole":
        return f"fs {record['fs']:g}"
    kind = "high-pass" if record["highpass"] else "low-pass"
    return f"fs {record['fs']:g}, {kind} at {record['cutoff']:g} Hz"


def main():
    dump = subprocess.run([sys.argv[1]], check=True, capture_output=True, text=True).stdout
    worst = {}  # name -> [coefficient error or None, response error, where]

    for record in map(json.loads, dump.splitlines()):
        check = check_one_pole if record["name"] == "OnePole" else check_prototype
        coefficients, response = check(record)
        entry = worst.setdefault(record["name"], [coefficients, 0.0, "-"])
        if coefficients is not None:
            entry[0] = max(entry[0], coefficients)
        if response > entry[1]:
            entry[1:] = [response, describe(record)]

    failed = False
    print(f"{'filter':32} {'coefficients':>13} {'response':>13}  worst response at")
    for name, (coefficients, response, where) in worst.items():
        bad = max(coefficients or 0.0, response) > TOLERANCE
        failed |= bad
        shown = "-" if coefficients is None else f"{coefficients:.3e}"
        print(f"{name:32} {shown:>13} {response:13.3e}  {where}{'  MISMATCH' if bad else ''}")

    print(f"{len(worst)} filters, tolerance {TOLERANCE:g}: {'FAILED' if failed else 'all within'}")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
