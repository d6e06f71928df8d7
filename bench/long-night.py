#!/usr/bin/env python3
"""Writes a long night: a light-curve table of N observations in the
photometry program's layout, the same bytes for the same N and variant.

    bench/long-night.py N [TABLE] [--variant V] [--dropped EVERY]

The target is a pulsating star (a saw-tooth of 0.5 mag with noise), the
comparison and check stars constant with noise, the airmass falling then
rising over the night. With --dropped EVERY, every EVERY-th row has V-C of
99.999, as when the variable was not measured. TABLE defaults to
lightcurve.txt; lines end CR LF as the photometry program writes them.
"""
import argparse
import math
import random


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("count", type=int)
    parser.add_argument("table", nargs="?", default="lightcurve.txt")
    parser.add_argument("--variant", type=int, default=1)
    parser.add_argument("--dropped", type=int, default=0)
    options = parser.parse_args()

    noise = random.Random(options.variant)
    start = 2460600.25000
    step = 20.0 / 86400.0  # a 20-second cadence
    period = 0.5668
    with open(options.table, "w", newline="") as table:
        table.write("JDHEL V-C s1 V-K1 s2 C1-K1 s3 HELCOR AIRMASS ALTITUDE\r\n")
        table.write("Aperture: 1, Filter: V, JD: heliocentric\r\n")
        rows = []
        for i in range(options.count):
            jd = start + i * step
            phase = (jd - start) / period % 1.0
            v_c = -0.9 + 0.5 * phase + noise.gauss(0.0, 0.01)
            c1_k1 = 0.676 + noise.gauss(0.0, 0.008)
            if options.dropped and i % options.dropped == options.dropped - 1:
                v_c = 99.999
            hour = (i * step * 24.0) % 12.0 - 6.0
            altitude = 70.0 - 5.0 * abs(hour)
            airmass = 1.0 / math.sin(math.radians(altitude))
            rows.append("%.5f %.5f %.5f %.5f %.5f %.5f %.5f %.5f %.5f %.2f\r\n" % (
                jd, v_c, 0.004 + abs(noise.gauss(0.0, 0.001)), v_c - c1_k1, 0.005,
                c1_k1, 0.006 + abs(noise.gauss(0.0, 0.001)), -0.00312, airmass, altitude))
            if len(rows) == 4096:
                table.write("".join(rows))
                rows.clear()
        table.write("".join(rows))


if __name__ == "__main__":
    main()
