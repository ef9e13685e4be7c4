#!/usr/bin/python3
"""Reference for the control-point fit of the georeference dialog.

Reads a JSON list of cases from the file named by the first argument; each case holds
"pairs", a list of [x, y, X, Y] (image position, map position) of the enabled pairs. For
each case it solves, with numpy.linalg.lstsq, the least-squares similarity

    X = a*x + b*y + tx,   Y = -b*x + a*y + ty

on the rows [x, y, 1, 0] and [y, -x, 0, 1] (columns equilibrated), and writes a JSON list of
{"a", "b", "tx", "ty"} in the same order to the file named by the second argument.
"""
import json
import sys

import numpy


def solve(pairs):
    rows = []
    rhs = []
    for x, y, big_x, big_y in pairs:
        rows.append([x, y, 1.0, 0.0])
        rhs.append(big_x)
        rows.append([y, -x, 0.0, 1.0])
        rhs.append(big_y)
    matrix = numpy.array(rows)
    # The columns differ by four orders of magnitude (pixel positions up to 1e4 against the
    # ones of the translation); equilibrating them keeps the small coefficients a and b
    # accurate to the last digits instead of to the size of the translation.
    weights = 1.0 / numpy.linalg.norm(matrix, axis=0)
    solution, _, _, _ = numpy.linalg.lstsq(matrix * weights, numpy.array(rhs), rcond=None)
    a, b, tx, ty = (float(v) for v in solution * weights)
    return {"a": a, "b": b, "tx": tx, "ty": ty}


def main():
    with open(sys.argv[1], encoding="utf-8") as source:
        cases = json.load(source)
    results = [solve(case["pairs"]) for case in cases]
    with open(sys.argv[2], "w", encoding="utf-8") as target:
        json.dump(results, target)


if __name__ == "__main__":
    main()
