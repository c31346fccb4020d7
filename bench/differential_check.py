#!/usr/bin/env python3
"""Runs two plandrex binaries on the same inputs and reports every difference.

    bench/differential_check.py BASELINE CANDIDATE [--cases N] [--seed S] [--data DIR]
                                [--generator PATH] [--work DIR]

Meant for changes that must not alter behaviour (speed, memory): every case runs both binaries
with the same argument vector (argv[0] is "plandrex" for both), the same standard input and the
same output file name, and compares standard output, standard error, exit status and the output
file byte for byte. The inputs are random small graph files (valid, with errors, unsorted, with
repeated and dangling adjacencies, self-loops, differential files), files made by the snapshot
generator when it is given, and the real graph files in DIR when it is given. Exit status 0 when
no case differs.
"""

import argparse
import os
import random
import shutil
import subprocess
import sys
import tempfile

ERROR_EDITS = [
    "bad_marker", "bad_count", "missing_names", "bad_node", "short_line", "bad_as", "bad_flag",
    "bad_dir", "bad_path", "bad_ip", "truncate", "extra_column", "bad_counter", "bad_float",
    "fewer_nodes", "more_edges",
]


def random_graph(rng, differential=False, error=None):
    """Text of a graph file: random nodes and adjacencies, optionally with one kind of fault."""
    node_count = rng.randint(0, 40)
    nodes = sorted(rng.sample(range(1, 120), node_count))
    if rng.random() < 0.2:
        nodes += rng.sample(nodes, min(len(nodes), 3))  # repeated node lines
    pool = nodes + [rng.randint(1, 65535) for _ in range(2)]  # some dangling endpoints
    edges = []
    for _ in range(rng.randint(0, 80)):
        if not pool:
            break
        a, b = rng.choice(pool), rng.choice(pool)
        if rng.random() < 0.05:
            b = a
        flag = rng.choice([0, 1, 1, 1])
        direction = rng.choice([-1, 0, 0, 1])
        cols = [a, b, flag, direction, rng.randint(0, 9), rng.randint(0, 2 ** 40),
                rng.randint(0, 9), rng.choice([0, 2 ** 64 - 1, rng.randint(0, 99)])]
        if differential:
            cols += [rng.randint(0, 1), rng.randint(0, 1), rng.choice([-1, 0, 1]),
                     rng.choice([-1, 0, 1]), rng.randint(0, 9), rng.randint(0, 99),
                     rng.randint(0, 9), rng.randint(0, 99)]
            cols += [rng.randint(0, 70000) for _ in range(6)]
            cols.append(rng.choice(["0.000000", "1.500000", "2", "3e2", "0.333333"]))
        edges.append(cols)
    if rng.random() < 0.5:
        edges.sort(key=lambda c: (min(c[0], c[1]), max(c[0], c[1])))
    lines = ["ZND" if differential else "ZNG"]
    names = [f"source-{i}.zng" for i in range(rng.randint(1, 3))]
    lines.append(str(len(names)))
    lines += names
    lines.append(rng.choice(["", "a description", "x" * 600]))
    lines.append(str(len(nodes)))
    lines.append(str(len(edges)))
    lines += [str(n) for n in nodes]
    lines += [" ".join(str(c) for c in cols) for cols in edges]

    if error is not None:
        header = 3 + len(names)  # the node count line
        first_edge = header + 2 + len(nodes)

        def set_edge_column(index, value):
            if first_edge < len(lines):
                at = rng.randrange(first_edge, len(lines))
                cols = lines[at].split(" ")
                if index < len(cols):
                    cols[index] = value
                lines[at] = " ".join(cols)

        if error == "bad_marker":
            lines[0] = rng.choice(["ZNX", "", "zng", "ZNG "])
        elif error == "bad_count":
            lines[1] = rng.choice(["0", "-1", "x", "70000"])
        elif error == "missing_names":
            lines = lines[:2]
        elif error == "bad_node" and nodes:
            lines[header + 2 + rng.randrange(len(nodes))] = rng.choice(["0", "65536", "7x", "-3"])
        elif error == "short_line" and first_edge < len(lines):
            at = rng.randrange(first_edge, len(lines))
            lines[at] = " ".join(lines[at].split(" ")[: rng.randint(0, 5)])
        elif error == "bad_as":
            set_edge_column(rng.randint(0, 1), rng.choice(["0", "65536", "a", "-1"]))
        elif error == "bad_flag":
            set_edge_column(2, rng.choice(["2", "-1", "01", "x"]))
        elif error == "bad_dir":
            set_edge_column(3, rng.choice(["2", "-2", "y"]))
        elif error == "bad_path":
            set_edge_column(4, rng.choice(["p", "1.5", "99999999999"]))
        elif error == "bad_ip":
            set_edge_column(5, rng.choice(["q", "1e3", "-"]))
        elif error == "truncate":
            text = "\n".join(lines) + "\n"
            return text[: rng.randint(0, len(text))]
        elif error == "extra_column":
            set_edge_column(0, lines[first_edge].split(" ")[0] + " 5" if first_edge < len(lines)
                            else "1")
        elif error == "bad_counter" and differential:
            set_edge_column(rng.randint(16, 21), rng.choice(["c", "-", "4294967296"]))
        elif error == "bad_float" and differential:
            set_edge_column(22, rng.choice(["nan", "f", "1.2.3", ""]))
        elif error == "fewer_nodes":
            lines[header] = str(len(nodes) + 5)
        elif error == "more_edges":
            lines[header + 1] = str(len(edges) + 3)
    ending = rng.choice(["\n", "\n", "\r\n"])
    text = ending.join(lines)
    if rng.random() < 0.9:
        text += ending
    return text


def random_conditions(rng, letters):
    items = ["".join(rng.sample(letters, rng.randint(1, 3))) for _ in range(rng.randint(1, 3))]
    return ",".join(items)


class Checker:
    def __init__(self, baseline, candidate, work):
        self.baseline = baseline
        self.candidate = candidate
        self.work = work
        self.cases = 0
        self.failures = 0
        self.statuses = {}

    def run(self, binary, args, stdin_bytes, output):
        if output and os.path.exists(output):
            os.remove(output)
        proc = subprocess.run(["plandrex"] + args, executable=binary, input=stdin_bytes,
                              stdout=subprocess.PIPE, stderr=subprocess.PIPE, cwd=self.work,
                              timeout=600)
        produced = None
        if output and os.path.exists(output):
            with open(output, "rb") as f:
                produced = f.read()
        return proc.returncode, proc.stdout, proc.stderr, produced

    def check(self, args, stdin_bytes=b"", output=None):
        self.cases += 1
        expected = self.run(self.baseline, args, stdin_bytes, output)
        actual = self.run(self.candidate, args, stdin_bytes, output)
        self.statuses[expected[0]] = self.statuses.get(expected[0], 0) + 1
        if expected != actual:
            self.failures += 1
            parts = ["status", "stdout", "stderr", "output file"]
            which = [p for p, e, a in zip(parts, expected, actual) if e != a]
            print(f"DIFFERENT ({', '.join(which)}): plandrex {' '.join(args)}", file=sys.stderr)
            if self.failures <= 5:
                for p, e, a in zip(parts, expected, actual):
                    if e != a:
                        print(f"  {p}: baseline {e!r:.300}\n  {p}: candidate {a!r:.300}",
                              file=sys.stderr)


def mode_args(rng):
    choice = rng.randrange(6)
    if choice == 0:
        return []
    if choice == 1:
        return ["-l"]
    if choice == 2:
        return [("-n " if rng.random() < 0.3 else "") + "--over:" +
                random_conditions(rng, "aoOuUpPdDxyw")]
    if choice == 3:
        return [("-n " if rng.random() < 0.3 else "") + "--comp:" +
                random_conditions(rng, "aAuUoOpPdD")]
    if choice == 4:
        return ["--over:a"]
    return ["--comp:a,A"]


def split(args):
    out = []
    for a in args:
        out += a.split(" ")
    return out


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("baseline")
    parser.add_argument("candidate")
    parser.add_argument("--cases", type=int, default=2000, help="random cases")
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--data", help="folder of real graph files (*.zng)")
    parser.add_argument("--generator", help="snapshot_generator binary")
    parser.add_argument("--work", help="scratch folder (default: a fresh temporary one)")
    opts = parser.parse_args()
    baseline = os.path.abspath(opts.baseline)
    candidate = os.path.abspath(opts.candidate)
    work = opts.work or tempfile.mkdtemp(prefix="plandrex-diff-")
    os.makedirs(work, exist_ok=True)
    rng = random.Random(opts.seed)
    checker = Checker(baseline, candidate, work)

    # Generated AS-like snapshots, small and sorted.
    generated = []
    if opts.generator:
        for seed in range(1, 4):
            prefix = os.path.join(work, f"gen{seed}")
            subprocess.run([opts.generator, "--nodes", str(rng.randint(200, 800)), "--edges",
                            str(rng.randint(200, 4000)), "--snapshots", "4", "--seed", str(seed),
                            "--churn", "10", "--flip", "5", "--out", prefix], check=True)
            generated += [f"{prefix}-{i:02d}.zng" for i in range(4)]

    for case in range(opts.cases):
        files = []
        for i in range(rng.randint(2, 4)):
            error = rng.choice(ERROR_EDITS) if rng.random() < 0.25 else None
            text = random_graph(rng, differential=rng.random() < 0.2, error=error)
            name = os.path.join(work, f"in{i}.zng")
            with open(name, "w", newline="") as f:
                f.write(text)
            files.append(name)
        if generated and rng.random() < 0.3:
            files[rng.randrange(len(files))] = rng.choice(generated)
        if rng.random() < 0.05:
            files[rng.randrange(len(files))] = os.path.join(work, "does-not-exist.zng")
        stdin_bytes = b""
        if rng.random() < 0.25:
            # Standard input stands for one input, or for several (then only the first read of
            # it finds the graph).
            if os.path.exists(files[0]):
                with open(files[0], "rb") as f:
                    stdin_bytes = f.read()
            for _ in range(rng.randint(1, 2)):
                files[rng.randrange(len(files))] = "-"
        output = None
        extra = []
        if rng.random() < 0.6:
            output = os.path.join(work, "out.zng")
            extra = ["-f", "-o", output]
        if rng.random() < 0.1:
            extra += ["--comment", "a comment"]
        if rng.random() < 0.25:
            args = extra + ["--multi"] + files
        else:
            args = extra + split(mode_args(rng)) + files[:2]
        checker.check(args, stdin_bytes, output)

    # Real files: every mode on neighbouring pairs, and --multi over all of them.
    if opts.data and os.path.isdir(opts.data):
        real = sorted(os.path.join(opts.data, n) for n in os.listdir(opts.data)
                      if n.endswith(".zng"))
        output = os.path.join(work, "out.zng")
        modes = [[], ["-l"], ["--over:a"], ["--comp:a,A"], ["--over:xyw,oU"], ["-n", "--comp:pD"]]
        for first, second in zip(real, real[1:]):
            for mode in modes:
                checker.check(["-f", "-o", output] + mode + [first, second], b"", output)
        with open(real[0], "rb") as f:
            checker.check(["-f", "-o", output, "--multi", "-"] + real[1:4], f.read(), output)
        checker.check(["-f", "-o", output, "--multi"] + real, b"", output)

    statuses = ", ".join(f"{n} with status {s}" for s, n in sorted(checker.statuses.items()))
    print(f"{checker.cases} cases ({statuses}), {checker.failures} different")
    if not opts.work:
        shutil.rmtree(work, ignore_errors=True)
    return 1 if checker.failures else 0


if __name__ == "__main__":
    sys.exit(main())
