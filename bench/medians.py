"""Medians of the timed runs that bench/alternate.sh and bench/peer.sh record.

Each line of a results file is "step|variant|seconds kib", as /usr/bin/time
-f "%e %M" gives the last two. medians() answers, in the order the steps first
appear, {step: {variant: (median seconds, median peak MiB)}}.
"""
import statistics


def medians(path):
    runs = {}
    for line in open(path):
        step, variant, measured = line.rstrip("\n").split("|")
        seconds, kib = measured.split()
        runs.setdefault(step, {}).setdefault(variant, []).append((float(seconds), int(kib)))
    return {
        step: {
            variant: (statistics.median(s for s, _ in measured),
                      statistics.median(k for _, k in measured) / 1024)
            for variant, measured in variants.items()
        }
        for step, variants in runs.items()
    }
