"""Writing the golden files of a generator, or checking the tree against it (--check)."""

import sys


def first_difference(a, b):
    """Offset of the first byte in which a and b differ (the shorter length if one is a prefix)."""
    for offset, (x, y) in enumerate(zip(a, b)):
        if x != y:
            return offset
    return min(len(a), len(b))


def check(out_dir, suffix, files):
    """Compares the files with those in the tree; 1 and the first difference if any."""
    for name, data in files.items():
        path = out_dir / name
        if not path.exists():
            print("%s: missing; run %s" % (path, sys.argv[0]))
            return 1
        actual = path.read_bytes()
        if actual != data:
            print("%s: differs from its generator at offset %d; run %s"
                  % (path, first_difference(actual, data), sys.argv[0]))
            return 1
    for path in sorted(out_dir.glob("*" + suffix)):
        if path.name not in files:
            print("%s: made by no scenario of this script" % path)
            return 1
    print("%d files match their generator" % len(files))
    return 0


def write_or_check(out_dir, suffix, files):
    """Writes `files` (name -> bytes) into out_dir, or with --check compares; the exit code."""
    if "--check" in sys.argv[1:]:
        return check(out_dir, suffix, files)
    for name, data in files.items():
        (out_dir / name).write_bytes(data)
    print("wrote %d files to %s" % (len(files), out_dir))
    return 0
