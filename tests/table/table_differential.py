#!/usr/bin/env python3
"""plandrex-table against plandrex, through real CSV and JSON parsers.

    tests/table/table_differential.py PLANDREX PLANDREX_TABLE [--cases N] [--seed S]

report: on random series of graph files (plain and differential, sorted or not, with repeated
and dangling adjacencies; names with commas, quotes, line breaks and bytes that are not UTF-8),
every row read back with Python's csv and json modules must hold the names as given and the 25
numbers of plandrex's own report for that pair, consecutive and with --base. A series with a
faulty file must fail with plandrex's exit status and the reader's reason, and write nothing.
nodes: the rows must be plandrex -l's list. edges: on random graph files whose edge lines are
already in the form the graph keeps, the rows must be those lines, with the relationships read
from their flags and directions. Exit status 0 when every case agrees.
"""

import argparse
import csv
import io
import json
import os
import random
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "bench"))
from differential_check import ERROR_EDITS, random_graph  # noqa: E402

FIGURES = [
    "nodes_1", "nodes_only_1", "nodes_2", "nodes_only_2", "nodes_common", "edges_1",
    "edges_1_peering", "edges_1_directed", "edges_1_unoriented", "edges_only_1",
    "edges_only_1_peering", "edges_only_1_directed", "edges_only_1_unoriented", "edges_2",
    "edges_2_peering", "edges_2_directed", "edges_2_unoriented", "edges_only_2",
    "edges_only_2_peering", "edges_only_2_directed", "edges_only_2_unoriented", "edges_common",
    "edges_common_opposite", "edges_common_different", "edges_common_consistent",
]
PLAIN_COLUMNS = ["as_1", "as_2", "oriented", "direction", "path_covering_from_1",
                 "ip_covering_from_1", "path_covering_from_2", "ip_covering_from_2"]
DIFFERENTIAL_COLUMNS = PLAIN_COLUMNS + [
    "oriented_in_first", "oriented_in_second", "direction_in_first", "direction_in_second",
    "second_path_covering_from_1", "second_ip_covering_from_1", "second_path_covering_from_2",
    "second_ip_covering_from_2", "compared_graphs", "incoming_edges", "outgoing_edges",
    "undirected_edges", "unoriented_edges", "orientation_changes", "orientation_stability"]
NAME_PARTS = [b"snap", b"a,b", b'q"uote', b"line\nbreak", b"cr\rx", b"\xff\xfe", b"caf\xc3\xa9",
              b" space", b"\xe2\x82", b"2024"]

failures = []


def fail(case, text):
    failures.append(f"{case}: {text}")


def run(args, stdin=b""):
    result = subprocess.run(args, input=stdin, capture_output=True, timeout=120)
    return result.returncode, result.stdout, result.stderr


def plandrex_report(plandrex, first, second):
    status, out, err = run([plandrex, first, second])
    if status != 0:
        return status, err
    return 0, [int(line.rsplit(b" ", 1)[1]) for line in out.splitlines()]


def csv_rows(data):
    text = data.decode("utf-8", "surrogateescape")
    return list(csv.reader(io.StringIO(text, newline=""), strict=True))


def json_rows(data):
    text = data.decode("utf-8")  # strict: the output must be valid UTF-8
    if text and not text.endswith("\n"):
        raise ValueError("JSON Lines output does not end with a line feed")
    return [json.loads(line) for line in text.splitlines()]


def widened(text):
    """The same graph in a wide file: every AS number n becomes 65537 n, an order-keeping map of
    1..65535 onto numbers above 65535, up to 4294967295. Line ends (LF or CRLF) stay as they are."""
    lines = text.split("\n")

    def edit(i, change):
        body, end = (lines[i][:-1], "\r") if lines[i].endswith("\r") else (lines[i], "")
        lines[i] = change(body) + end

    def wide_ends(body):
        cols = body.split(" ")
        cols[0], cols[1] = str(65537 * int(cols[0])), str(65537 * int(cols[1]))
        return " ".join(cols)

    marker = 2 + int(lines[1].rstrip("\r"))  # the description line
    nodes, edges = int(lines[marker + 1].rstrip("\r")), int(lines[marker + 2].rstrip("\r"))
    first_node = marker + 3
    edit(0, lambda body: body + "32")
    for i in range(first_node, first_node + nodes):
        edit(i, lambda body: str(65537 * int(body)))
    for i in range(first_node + nodes, first_node + nodes + edges):
        edit(i, wide_ends)
    return "\n".join(lines)


def random_name(rng, work, index):
    parts = rng.sample(NAME_PARTS, rng.randint(1, 3))
    return os.path.join(work, b"-".join(parts) + b"-%d.zng" % index)


def check_report(rng, plandrex, table, work, case):
    count = rng.randint(2, 5)
    differential = rng.random() < 0.3
    faulty = rng.randrange(count) if rng.random() < 0.15 else None
    names = []
    for i in range(count):
        error = rng.choice(ERROR_EDITS) if i == faulty else None
        name = random_name(rng, work, i)
        text = random_graph(rng, differential and rng.random() < 0.7, error)
        if error is None and rng.random() < 0.3:
            text = widened(text)
        with open(name, "wb") as f:
            f.write(text.encode())
        names.append(name)
    base = rng.random() < 0.3
    pairs = [(0 if base else i - 1, i) for i in range(1, count)]
    expected = []
    expected_failure = None
    read_fine = set()
    for first, second in pairs:
        for index in (first, second):
            if index in read_fine or expected_failure is not None:
                continue
            status, _, err = run([plandrex, names[index], names[index]])
            if status != 0:
                expected_failure = (status, err)
            read_fine.add(index)
        if expected_failure is not None:
            break
        expected.append(plandrex_report(plandrex, names[first], names[second])[1])

    options = ["--base"] if base else []
    for form in ("csv", "json"):
        args = [table, "report"] + (["--json"] if form == "json" else []) + options + names
        status, out, err = run(args)
        where = f"{case} {form} {[n.decode('utf-8', 'replace') for n in names]}"
        if expected_failure is not None:
            if status != expected_failure[0] or out:
                fail(where, f"status {status}, output {out!r}; plandrex gave {expected_failure}")
            elif b": Invalid" not in err and b": Unable" not in err and b": Could not" not in err:
                # The reader's own reason, after the file name.
                fail(where, f"no reader reason in {err!r}")
            continue
        if status != 0 or err:
            fail(where, f"status {status}, stderr {err!r}")
            continue
        if form == "csv":
            rows = csv_rows(out)
            if rows[0] != ["first", "second"] + FIGURES:
                fail(where, f"header {rows[0]}")
                continue
            got = [(r[0].encode("utf-8", "surrogateescape"), r[1].encode("utf-8", "surrogateescape"),
                    [int(v) for v in r[2:]]) for r in rows[1:]]
            want = [(names[a], names[b], figures) for (a, b), figures in zip(pairs, expected)]
        else:
            rows = json_rows(out)
            if any(list(r.keys()) != ["first", "second"] + FIGURES for r in rows):
                fail(where, f"keys {[list(r.keys()) for r in rows]}")
                continue
            if any(type(r[k]) is not int for r in rows for k in FIGURES):
                fail(where, "a figure is not a JSON number")
            got = [(r["first"], r["second"], [r[k] for k in FIGURES]) for r in rows]
            want = [(names[a].decode("utf-8", "replace"), names[b].decode("utf-8", "replace"),
                     figures) for (a, b), figures in zip(pairs, expected)]
        if got != want:
            fail(where, f"rows {got} differ from plandrex's {want}")


def check_nodes(rng, plandrex, table, work, case):
    names = []
    for i in range(2):
        name = os.path.join(work, b"nodes-%d.zng" % i)
        with open(name, "wb") as f:
            text = random_graph(rng, rng.random() < 0.3)
            f.write((widened(text) if rng.random() < 0.3 else text).encode())
        names.append(name)
    status, listing, _ = run([plandrex, "-l", names[0], names[1]])
    sides = {"<": "first", ">": "second", "|": "both"}
    want = [(int(line.split()[1]), sides[line.split()[0]])
            for line in listing.decode().splitlines()]
    status_csv, out_csv, err_csv = run([table, "nodes", names[0], names[1]])
    status_json, out_json, err_json = run([table, "nodes", "--json", names[0], names[1]])
    if status != 0 or status_csv != 0 or status_json != 0 or err_csv or err_json:
        fail(case, f"nodes statuses {status} {status_csv} {status_json}: {err_csv!r} {err_json!r}")
        return
    rows = csv_rows(out_csv)
    got_csv = [(int(a), s) for a, s in rows[1:]] if rows[0] == ["as", "in"] else None
    got_json = [(r["as"], r["in"]) for r in json_rows(out_json)]
    if got_csv != want or got_json != want:
        fail(case, f"nodes: csv {got_csv} json {got_json} want {want}")


def relationship(flag, direction):
    if flag == 0:
        return "unknown"
    return {1: "p2c", -1: "c2p", 0: "p2p"}[direction]


def check_edges(rng, table, work, case):
    differential = rng.random() < 0.5
    nodes = sorted(rng.sample(range(1, 65536), rng.randint(2, 30)))
    pairs = sorted({tuple(sorted(rng.sample(nodes, 2))) for _ in range(rng.randint(0, 60))})
    lines = []
    for a, b in pairs:
        cols = [a, b, rng.randint(0, 1), rng.choice([-1, 0, 1]), rng.randint(0, 2 ** 32 - 1),
                rng.randint(0, 2 ** 64 - 1), rng.randint(0, 9), rng.randint(0, 99)]
        if differential:
            cols[2], cols[3] = 0, 0
            cols += [rng.randint(0, 1), rng.randint(0, 1), rng.choice([-1, 0, 1]),
                     rng.choice([-1, 0, 1]), rng.randint(0, 9), rng.randint(0, 99),
                     rng.randint(0, 9), rng.randint(0, 99)]
            cols += [rng.randint(0, 65535) for _ in range(6)]
            cols.append(rng.choice(["0.000000", "1.500000", "2.250000"]))
        lines.append(cols)
    text = "\n".join(["ZND" if differential else "ZNG", "1", "src", "", str(len(nodes)),
                      str(len(lines))] + [str(n) for n in nodes] +
                     [" ".join(str(c) for c in cols) for cols in lines]) + "\n"
    name = os.path.join(work, b"edges.zng")
    with open(name, "w") as f:
        f.write(text)
    columns = DIFFERENTIAL_COLUMNS if differential else PLAIN_COLUMNS
    relationships = (["relationship", "relationship_in_first", "relationship_in_second"]
                     if differential else ["relationship"])
    want = []
    for cols in lines:
        row = [str(c) for c in cols] + [relationship(cols[2], cols[3])]
        if differential:
            row += [relationship(cols[8], cols[10]), relationship(cols[9], cols[11])]
        want.append(row)
    status, out, err = run([table, "edges", name])
    rows = csv_rows(out)
    if status != 0 or err or rows[0] != columns + relationships or rows[1:] != want:
        fail(case, f"edges csv: status {status} {err!r}\n{out.decode()}\nwant {want}")
    status, out, err = run([table, "edges", "--json", name])
    got = [[str(r[k]) if not isinstance(r[k], float) else "%f" % r[k] for k in r]
           for r in json_rows(out)]
    if status != 0 or got != want:
        fail(case, f"edges json: status {status} {err!r} {got} want {want}")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("plandrex")
    parser.add_argument("table")
    parser.add_argument("--cases", type=int, default=150)
    parser.add_argument("--seed", type=int, default=1)
    options = parser.parse_args()
    rng = random.Random(options.seed)
    with tempfile.TemporaryDirectory() as work:
        work = work.encode()
        for case in range(options.cases):
            check_report(rng, options.plandrex, options.table, work, case)
            if case % 3 == 0:
                check_nodes(rng, options.plandrex, options.table, work, case)
                check_edges(rng, options.table, work, case)
            if len(failures) > 5:
                break
    for failure in failures:
        print(failure)
    print(f"{options.cases} cases, {len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
