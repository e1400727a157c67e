@echo off
setlocal

