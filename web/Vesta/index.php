<?php
require_once __DIR__ . '/../lib/session.php';
header('Location: ' . (current_user() === null ? 'login.php' : 'overview.php'), true, 303);
