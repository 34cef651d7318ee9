"""The common frame of the resource generators: a readable source turned into
a committed binary, either written (through a temporary file, so a failure
never leaves half an output) or, with --check, compared with what is
committed.

usage of a generator: NAME.py [--check] [SOURCE [OUTPUT]]
"""
import pathlib
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent


class SourceError(Exception):
    pass


def run(argv, default_source, default_output, build):
    """`build` turns the source text into the output bytes, raising
    SourceError (or ValueError) for a source it cannot use. Returns the exit
    status."""
    check = "--check" in argv[1:]
    argv = [arg for arg in argv if arg != "--check"]
    source = pathlib.Path(argv[1]) if len(argv) > 1 else ROOT / default_source
    output = pathlib.Path(argv[2]) if len(argv) > 2 else ROOT / default_output
    try:
        data = build(source.read_text(encoding="utf-8"))
    except (SourceError, ValueError) as error:
        print(f"{source}: {error}", file=sys.stderr)
        return 1
    if check:
        if output.exists() and output.read_bytes() == data:
            return 0
        print(f"{output} is out of date: run {pathlib.Path(argv[0]).name}", file=sys.stderr)
        return 1
    temporary = output.with_suffix(output.suffix + ".tmp")
    temporary.write_bytes(data)
    temporary.replace(output)
    return 0
