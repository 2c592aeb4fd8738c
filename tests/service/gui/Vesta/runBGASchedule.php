<?php
require __DIR__ . '/../record.php';
