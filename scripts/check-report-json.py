#!/usr/bin/env python3
"""Validates every report the end-to-end tests kept against the published schema.

Usage: check-report-json.py SCHEMA FOLDER. Exits 1 when a report does not fit or none was kept
(then the tests that write them did not run)."""
import json
import pathlib
import sys

import jsonschema


def main() -> int:
    schema = json.loads(pathlib.Path(sys.argv[1]).read_text(encoding="utf-8"))
    validator_class = jsonschema.validators.validator_for(schema)
    validator_class.check_schema(schema)
    validator = validator_class(schema)
    files = sorted(pathlib.Path(sys.argv[2]).glob("*.json"))
    if not files:
        print(f"no reports in {sys.argv[2]}: the end-to-end tests wrote none")
        return 1
    failed = 0
    for path in files:
        document = json.loads(path.read_text(encoding="utf-8"))
        # The report and the answer for one program are the schema's two shapes: the most
        # telling error is the one inside the shape the document comes nearest to.
        error = jsonschema.exceptions.best_match(validator.iter_errors(document))
        if error is not None:
            where = "/".join(str(p) for p in error.absolute_path) or "(top)"
            print(f"{path.name}: {where}: {error.message[:300]}")
        failed += error is not None
    print(f"{len(files) - failed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
