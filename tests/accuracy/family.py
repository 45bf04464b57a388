# tests/accuracy/family.py — shared by every *_families.py module
from dataclasses import dataclass
from typing import Callable, Optional
import random


@dataclass
class Case:
    statement: str                 # one vexalo statement, e.g. "gamma(0.3)"
    expected: object = None        # complex | list of complex | list of rows of complex (a matrix);
                                   # None: no answer exists, a clear error message is right
    check: Optional[Callable] = None  # optional check(printed_value, case) -> relative error, for results
                                      # not compared element-wise (root sets, eigenvectors, ...)


@dataclass
class Family:
    name: str                      # "gamma.real.large", "ncr.huge", ...
    generate: Callable[[random.Random], Case]
    rel_tol: float = 1e-8          # relative to the expected value's largest modulus
    count: int = 100
